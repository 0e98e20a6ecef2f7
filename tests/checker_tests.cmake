# The shipped catalogue must pass the catalogue checker, every record with
# its form description. The application folder is laid out by the appfolder
# target, which the default build runs before any test.
add_test(NAME ShippedCatalogue COMMAND sonoha-check ${SONOHA_APP_DIR} ${PROJECT_SOURCE_DIR}/catalogue/forms)
set_tests_properties(ShippedCatalogue PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

# A catalogue the user removed is laid out again by the next build.
add_test(NAME RemovedCatalogueIsLaidOutAgain
         COMMAND ${CMAKE_COMMAND} -DSCRIPT=${PROJECT_SOURCE_DIR}/tools/catalogue_presence.cmake
                 -DWORK=${CMAKE_CURRENT_BINARY_DIR}/catalogue-presence-test
                 -P ${CMAKE_CURRENT_SOURCE_DIR}/catalogue_presence_test.cmake)
