# The editor opened by the host harness inside an X11 window of its own, with
# real input through XTest (Xvfb in `make test`). Built only where the X11
# window layer exists.
file(GLOB x11_layer_sources ${CMAKE_SOURCE_DIR}/gui/platform/x11/*.cpp)
if(WIN32 OR NOT x11_layer_sources)
  return()
endif()
find_package(X11 REQUIRED COMPONENTS Xtst Xfixes)
add_executable(host_editor_tests ${CMAKE_CURRENT_LIST_DIR}/x11_editor_test.cpp
               ${CMAKE_CURRENT_LIST_DIR}/../test_host.cpp)
target_link_libraries(host_editor_tests PRIVATE hostkit X11::Xtst X11::Xfixes X11::X11 GTest::gtest GTest::gtest_main)
target_include_directories(host_editor_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/.. ${CMAKE_SOURCE_DIR}/tests)
# The module's per-user defaults live in the build (the test points there).
target_compile_definitions(host_editor_tests PRIVATE TALLOW_MODULE_PATH="$<TARGET_FILE:TallowReed>"
                           TALLOW_EDITOR_CONFIG="${CMAKE_CURRENT_BINARY_DIR}/host_editor_config"
                           TALLOW_FACTORY_BANK_PATH="${CMAKE_SOURCE_DIR}/resources/FactoryBank.fxb")
set_target_properties(host_editor_tests PROPERTIES ENABLE_EXPORTS ON)
add_dependencies(host_editor_tests TallowReed)
# Under the sanitizers the leak check is left out here: the software GL
# driver keeps allocations that LeakSanitizer reports once the driver's code
# is unloaded at exit (none remain when the driver stays mapped). The
# editor's own resources are checked by the test itself and by editor_tests.
set(host_editor_environment "")
if(TALLOW_SANITIZED)
  set(host_editor_environment "ASAN_OPTIONS=detect_leaks=0")
endif()
gtest_discover_tests(host_editor_tests DISCOVERY_MODE PRE_TEST
                     PROPERTIES LABELS gui RESOURCE_LOCK x11_pointer TIMEOUT 120
                     ENVIRONMENT "${host_editor_environment}")
