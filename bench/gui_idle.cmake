# The X11 editor's idle call with nothing to do; needs a display, so
# scripts/run-benchmarks.sh runs it through scripts/with-display.sh.
if(NOT WIN32)
  add_executable(gui_idle_bench ${CMAKE_CURRENT_LIST_DIR}/gui_idle_bench.cpp)
  target_link_libraries(gui_idle_bench PRIVATE wispkit benchmark::benchmark)
  set_target_properties(gui_idle_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endif()
