add_executable(fuzz_png ${CMAKE_SOURCE_DIR}/fuzz/png_fuzzer.cpp)
target_link_libraries(fuzz_png PRIVATE wispkit)
target_link_options(fuzz_png PRIVATE -fsanitize=fuzzer)
set_target_properties(fuzz_png PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
