# Screenshots for the help page: sonoha-helpshots APP_DIR OUT_DIR.
# Not part of ALL: the pictures are kept with the help page's source and
# taken again by hand (cmake --build BUILD --target helpshots) when the
# window changes.
add_executable(sonoha-helpshots help_screenshots.cpp)
target_link_libraries(sonoha-helpshots PRIVATE sonoha_windows)

add_custom_target(helpshots
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:sonoha-helpshots> ${SONOHA_APP_DIR} ${PROJECT_SOURCE_DIR}/assets/help/images
  COMMENT "Taking the help page's screenshots"
  VERBATIM)
# The window runs over a copy of the laid-out application folder.
add_dependencies(helpshots sonoha-helpshots appfolder)
