# The shipped catalogue must pass the catalogue checker. The application
# folder is laid out by the appfolder target, which the default build runs
# before any test.
add_test(NAME ShippedCatalogue COMMAND sonoha-check ${SONOHA_APP_DIR})
set_tests_properties(ShippedCatalogue PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
