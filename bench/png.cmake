find_package(PNG REQUIRED)
add_executable(png_bench ${CMAKE_SOURCE_DIR}/bench/png_bench.cpp)
target_link_libraries(png_bench PRIVATE paintwell PNG::PNG benchmark::benchmark benchmark::benchmark_main)
set_target_properties(png_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
