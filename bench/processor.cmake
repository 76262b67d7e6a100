add_executable(processor_bench ${CMAKE_CURRENT_LIST_DIR}/processor_bench.cpp)
target_link_libraries(processor_bench PRIVATE reed benchmark::benchmark)
set_target_properties(processor_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
