# The catalogue checker: sonoha-check APP_DIR.
add_executable(sonoha-check check_catalogue.cpp)
target_link_libraries(sonoha-check PRIVATE sonoha_generators)
