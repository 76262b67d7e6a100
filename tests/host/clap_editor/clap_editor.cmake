# The CLAP form's editor as hosts drive it: in a window of the test's, run by
# the host's timer and descriptor callbacks (Linux) or the message loop
# (Windows, under Wine), with real input. It shares the screenshot host's
# window, input and readback, and opens the VST 2.4 editor for the picture
# the CLAP one must match.
if(NOT WIN32)
  file(GLOB x11_layer_sources ${CMAKE_SOURCE_DIR}/gui/platform/x11/*.cpp)
  if(NOT x11_layer_sources)
    return()
  endif()
endif()
add_executable(host_clap_editor_tests ${CMAKE_CURRENT_LIST_DIR}/clap_editor_test.cpp
               ${CMAKE_CURRENT_LIST_DIR}/../test_host.cpp)
target_link_libraries(host_clap_editor_tests PRIVATE screenshot_host claphost hostkit GTest::gtest GTest::gtest_main)
target_include_directories(host_clap_editor_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
# The module finds the harness's prompt answerer among the program's exports.
set_target_properties(host_clap_editor_tests PROPERTIES ENABLE_EXPORTS ON)
if(WIN32)
  target_compile_definitions(host_clap_editor_tests PRIVATE TALLOW_MODULE_PATH="TallowReed.dll"
                             TALLOW_CLAP_PATH="TallowReed.clap")
  add_dependencies(host_clap_editor_tests host_tests_module)
  tallow_register_tests(host_clap_editor_tests gui)
  set_tests_properties(host_clap_editor_tests PROPERTIES RESOURCE_LOCK x11_pointer TIMEOUT 300)
  return()
endif()
target_compile_definitions(host_clap_editor_tests PRIVATE TALLOW_MODULE_PATH="$<TARGET_FILE:TallowReed>"
                           TALLOW_CLAP_PATH="$<TARGET_FILE:TallowReedClap>")
add_dependencies(host_clap_editor_tests TallowReed TallowReedClap)
# The modules' own defaults, never the user's; no leak check under the
# sanitizers, for the software GL driver's blocks (as the VST 2.4 editor tests).
set(clap_editor_environment "XDG_CONFIG_HOME=${CMAKE_CURRENT_BINARY_DIR}/host_clap_editor_config")
if(TALLOW_SANITIZED)
  list(APPEND clap_editor_environment "ASAN_OPTIONS=detect_leaks=0")
endif()
gtest_discover_tests(host_clap_editor_tests DISCOVERY_MODE PRE_TEST
                     PROPERTIES LABELS gui RESOURCE_LOCK x11_pointer TIMEOUT 300
                     ENVIRONMENT "${clap_editor_environment}")
