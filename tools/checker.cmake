# The catalogue checker, and a test that the shipped catalogue passes it.
add_executable(sonoha-check check_catalogue.cpp)
target_link_libraries(sonoha-check PRIVATE sonoha_core)

# The application folder is laid out by the appfolder target, which the
# default build runs before any test.
add_test(NAME ShippedCatalogue COMMAND sonoha-check ${SONOHA_APP_DIR})
set_tests_properties(ShippedCatalogue PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
