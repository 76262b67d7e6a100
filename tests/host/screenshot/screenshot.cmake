# Screenshots of the editor as a host shows it, from both builds: natively a
# test writes them beside the build; under Wine a test writes them and
# compares them with the native ones. `make screenshots` writes all six to out/.
if(WIN32)
  set(screenshot_platform win32)
  set(screenshot_libraries win32_test_window opengl32 gdi32 user32)
else()
  file(GLOB x11_layer_sources ${CMAKE_SOURCE_DIR}/gui/platform/x11/*.cpp)
  if(NOT x11_layer_sources)
    return()
  endif()
  find_package(X11 REQUIRED COMPONENTS Xtst)
  set(screenshot_platform x11)
  set(screenshot_libraries X11::Xtst X11::X11)
endif()
# The host window, input and readback, shared with the CLAP editor test.
file(GLOB screenshot_platform_sources CONFIGURE_DEPENDS
     ${CMAKE_CURRENT_LIST_DIR}/platform/${screenshot_platform}/*.cpp)
add_library(screenshot_host STATIC ${screenshot_platform_sources})
target_include_directories(screenshot_host PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(screenshot_host PUBLIC ${screenshot_libraries})
add_executable(editor_screenshots ${CMAKE_CURRENT_LIST_DIR}/editor_screenshots.cpp
               ${CMAKE_CURRENT_LIST_DIR}/../test_host.cpp)
# The decoder reads the screenshots back for the comparison.
target_link_libraries(editor_screenshots PRIVATE screenshot_host hostkit paintwell png_test_support GTest::gtest)
target_include_directories(editor_screenshots PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
set_target_properties(editor_screenshots PROPERTIES ENABLE_EXPORTS ON)
# Where the Windows test finds the native screenshots (the native build's tests).
set(TALLOW_NATIVE_SHOTS ${CMAKE_SOURCE_DIR}/build/native/tests CACHE PATH "The native editor screenshots")
if(WIN32)
  target_compile_definitions(editor_screenshots PRIVATE TALLOW_MODULE_PATH="TallowReed.dll"
                             TALLOW_FACTORY_BANK_PATH="FactoryBank.fxb")
  add_dependencies(editor_screenshots host_tests_module)
  set(screenshot_test editor_screenshots_match_native)
  add_test(NAME ${screenshot_test}
           COMMAND editor_screenshots ${CMAKE_BINARY_DIR}/tests windows --compare-with ${TALLOW_NATIVE_SHOTS} linux)
else()
  target_compile_definitions(editor_screenshots PRIVATE TALLOW_MODULE_PATH="$<TARGET_FILE:TallowReed>"
                             TALLOW_FACTORY_BANK_PATH="${CMAKE_SOURCE_DIR}/resources/FactoryBank.fxb")
  add_dependencies(editor_screenshots TallowReed)
  set(screenshot_test editor_screenshots_render)
  add_test(NAME ${screenshot_test} COMMAND editor_screenshots ${CMAKE_BINARY_DIR}/tests linux)
  # The module's own defaults, never the user's saved ones. Under the
  # sanitizers without the leak check, as the host editor tests: the software
  # GL driver's blocks show up as leaks once its code is unloaded.
  set(screenshot_environment "XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/tests/screenshot_config")
  if(TALLOW_SANITIZED)
    list(APPEND screenshot_environment "ASAN_OPTIONS=detect_leaks=0")
  endif()
  set_tests_properties(${screenshot_test} PROPERTIES ENVIRONMENT "${screenshot_environment}")
endif()
# The drag and the menu move the real pointer.
set_tests_properties(${screenshot_test} PROPERTIES LABELS gui
                     RESOURCE_LOCK x11_pointer)
