# Run by `cmake --install` (and by CPack): writes a file from its template with
# the paths of this installation, which are known only now (the prefix may be
# given to cmake --install), and installs it.
#   TEMPLATE, NAME, DESTINATION (relative to the prefix), BINDIR, DATADIR and
#   the template's other variables are set by the caller.
set(SONOHA_EXEC "${CMAKE_INSTALL_PREFIX}/${BINDIR}/sonoha")
set(SONOHA_SHARED_DIR "${CMAKE_INSTALL_PREFIX}/${DATADIR}/sonoha")
set(staged "${STAGE_DIR}/${NAME}")
configure_file("${TEMPLATE}" "${staged}" @ONLY)
file(INSTALL "${staged}" DESTINATION "${CMAKE_INSTALL_PREFIX}/${DESTINATION}")
