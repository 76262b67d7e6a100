# The module's editor through its entry point on an X display: an idle call
# with nothing changing and a full repaint. It defines the GL entry points it
# counts: they are exported (and visible) so that the module finds them here
# first, and each passes the call on to the GL library the module links.
if(NOT WIN32 AND TARGET TallowReed)
  include(${CMAKE_SOURCE_DIR}/tools/host_kit/host_kit.cmake)
  find_package(X11 REQUIRED)
  add_executable(gui_editor_bench ${CMAKE_CURRENT_LIST_DIR}/gui_editor_bench.cpp)
  target_include_directories(gui_editor_bench PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(gui_editor_bench PRIVATE hostkit benchmark::benchmark X11::X11 ${CMAKE_DL_LIBS})
  target_compile_definitions(gui_editor_bench PRIVATE TALLOW_BENCH_MODULE_PATH="$<TARGET_FILE:TallowReed>")
  set_target_properties(gui_editor_bench PROPERTIES ENABLE_EXPORTS ON CXX_VISIBILITY_PRESET default
                        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  add_dependencies(gui_editor_bench TallowReed)
endif()
