# The module through its entry point, beside an earlier build when
# TALLOW_BENCH_OLD_MODULE names one (Linux: dlopen and /proc).
if(NOT WIN32)
  include(${CMAKE_SOURCE_DIR}/tools/host_kit/host_kit.cmake)
  add_executable(module_bench ${CMAKE_CURRENT_LIST_DIR}/module_bench.cpp)
  target_include_directories(module_bench PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(module_bench PRIVATE hostkit benchmark::benchmark)
  target_compile_definitions(module_bench PRIVATE TALLOW_BENCH_MODULE_PATH="$<TARGET_FILE:TallowReed>")
  add_dependencies(module_bench TallowReed)
  set_target_properties(module_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endif()
