# The help page of the application folder, made from a main window over the
# shipped catalogue (sonoha-helpshots): its screenshots, the figures its text
# quotes from them, and the README's two screenshots in BUILD/screenshots.
# Made again whenever the catalogue source, the help page or the program
# changes, so none of them goes stale; cmake --build BUILD --target helpshots
# makes them alone. The build never writes the sources: the target
# readme-screenshots copies the README's two into docs/screenshots, to be
# committed with the change that altered them.
add_executable(sonoha-helpshots help_screenshots.cpp)
target_link_libraries(sonoha-helpshots PRIVATE sonoha_windows sonoha_generators)

set(SONOHA_HELP_PAGE ${SONOHA_APP_DIR}/help/help.htm)
add_custom_command(
  OUTPUT ${SONOHA_HELP_PAGE}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:sonoha-helpshots> ${SONOHA_APP_DIR} ${PROJECT_SOURCE_DIR}/catalogue/data
          ${PROJECT_SOURCE_DIR}/assets/help ${SONOHA_APP_DIR}/help ${CMAKE_BINARY_DIR}/screenshots
  # The pictures of the window are the ones the layout step draws.
  DEPENDS sonoha-helpshots ${SONOHA_CATALOGUE_SOURCES} ${SONOHA_HELP_SOURCES} ${SONOHA_LAYOUT_STAMP}
  COMMENT "Making the help page and its screenshots from the shipped catalogue"
  VERBATIM)
add_custom_target(helpshots ALL DEPENDS ${SONOHA_HELP_PAGE})
add_dependencies(helpshots appfolder)

add_custom_target(readme-screenshots
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_BINARY_DIR}/screenshots/main-window.png
          ${CMAKE_BINARY_DIR}/screenshots/photo-window.png ${PROJECT_SOURCE_DIR}/docs/screenshots
  COMMENT "Copying the README's screenshots into docs/screenshots"
  VERBATIM)
add_dependencies(readme-screenshots helpshots)
