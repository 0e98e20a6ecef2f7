# Run at every build: when the catalogue is missing from the application
# folder (a user removed it to start again from the sample), writes a new
# token to OUT, which the layout step depends on, so that step runs and lays
# the sample catalogue out again. A catalogue that is there leaves OUT as it
# was, and the layout step is not run for it.
#   cmake -DAPP_DIR=... -DOUT=... -P catalogue_presence.cmake
if(NOT EXISTS "${APP_DIR}/SNH347.mdb" OR NOT EXISTS "${OUT}")
  string(TIMESTAMP now "%Y-%m-%dT%H:%M:%S.%f")
  string(RANDOM LENGTH 8 salt)
  file(WRITE "${OUT}" "missing since ${now} ${salt}\n")
endif()
