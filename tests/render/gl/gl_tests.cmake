# The renderer's pixel tests: a real window and GL context (Xvfb and Mesa
# natively, Wine's opengl32 for the Windows build), frames read back before
# the swap. `make test` provides the display.
if(WIN32)
  set(gl_test_platform win32)
else()
  set(gl_test_platform x11)
endif()
file(GLOB gl_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
file(GLOB gl_platform_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/platform/${gl_test_platform}/*.cpp)
file(GLOB gl_window_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/platform/${gl_test_platform}/test_window*.cpp)
add_executable(paintwell_gl_tests ${gl_test_sources} ${gl_platform_sources})
# The toolkit's images are drawn here too, until the toolkit has GL tests of its own.
target_link_libraries(paintwell_gl_tests PRIVATE paintwell wispkit png_test_support GTest::gtest GTest::gtest_main)
target_include_directories(paintwell_gl_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_compile_definitions(paintwell_gl_tests PRIVATE
  TALLOW_VERA_PATH="/usr/share/fonts/truetype/ttf-bitstream-vera/Vera.ttf")
# Their windows open at the screen's top-left corner, where the tests that
# drive the shared display's pointer keep theirs: a window mapped over those
# would take their clicks and show its own cursor, so both hold one lock.
if(CMAKE_CROSSCOMPILING)
  add_test(NAME paintwell_gl_tests COMMAND paintwell_gl_tests)
  set_tests_properties(paintwell_gl_tests PROPERTIES LABELS gl RESOURCE_LOCK x11_pointer)
else()
  gtest_discover_tests(paintwell_gl_tests DISCOVERY_MODE PRE_TEST
                       PROPERTIES LABELS gl RESOURCE_LOCK x11_pointer)
endif()

# The test card: `make screenshots` writes it to out/ from both builds. The
# native tests render it beside the build; the Windows tests render it under
# Wine and compare it with the native one.
add_executable(paintwell_card ${CMAKE_CURRENT_LIST_DIR}/card/test_card.cpp ${CMAKE_CURRENT_LIST_DIR}/gl_harness.cpp
               ${gl_window_sources})
target_link_libraries(paintwell_card PRIVATE paintwell png_test_support GTest::gtest)
target_include_directories(paintwell_card PRIVATE ${CMAKE_CURRENT_LIST_DIR})
set(native_card ${CMAKE_SOURCE_DIR}/build/native/tests/card-native.png)
if(CMAKE_CROSSCOMPILING)
  add_test(NAME paintwell_card_matches_native
           COMMAND paintwell_card ${CMAKE_BINARY_DIR}/tests/card-windows.png --compare-with ${native_card})
  set_tests_properties(paintwell_card_matches_native PROPERTIES LABELS gl RESOURCE_LOCK x11_pointer)
else()
  add_test(NAME paintwell_card_renders COMMAND paintwell_card ${CMAKE_BINARY_DIR}/tests/card-native.png)
  set_tests_properties(paintwell_card_renders PROPERTIES LABELS gl RESOURCE_LOCK x11_pointer)
endif()
