# Writes OUT, a C++ source that defines kBuildCommit: the commit the program
# is built from ("-dirty" when tracked files differ from it), or an empty text
# outside a git checkout. Run at every build; OUT is rewritten only when the
# text changes, so an unchanged commit rebuilds nothing.
#   cmake -DSOURCE_DIR=... -DOUT=... -P build_commit.cmake
set(commit "")
find_package(Git QUIET)
if(GIT_FOUND)
  execute_process(COMMAND ${GIT_EXECUTABLE} -C ${SOURCE_DIR} rev-parse --short=12 HEAD
                  OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
  if(failed)
    set(commit "")
  else()
    execute_process(COMMAND ${GIT_EXECUTABLE} -C ${SOURCE_DIR} status --porcelain --untracked-files=no
                    OUTPUT_VARIABLE changes ERROR_QUIET)
    if(NOT changes STREQUAL "")
      string(APPEND commit "-dirty")
    endif()
  endif()
endif()
set(text "// Made by app/build_commit.cmake at build time.\nextern const char* const kBuildCommit;\nconst char* const kBuildCommit = \"${commit}\";\n")
if(EXISTS "${OUT}")
  file(READ "${OUT}" old)
else()
  set(old "")
endif()
if(NOT old STREQUAL text)
  file(WRITE "${OUT}" "${text}")
endif()
