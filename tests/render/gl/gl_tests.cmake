# The renderer's pixel tests: a real window and GL context (Xvfb and Mesa
# natively, Wine's opengl32 for the Windows build), frames read back before
# the swap. `make test` provides the display.
if(WIN32)
  set(gl_test_platform win32)
else()
  set(gl_test_platform x11)
endif()
file(GLOB gl_test_sources CONFIGURE_DEPENDS
     ${CMAKE_CURRENT_LIST_DIR}/*.cpp
     ${CMAKE_CURRENT_LIST_DIR}/platform/${gl_test_platform}/*.cpp)
add_executable(paintwell_gl_tests ${gl_test_sources})
target_link_libraries(paintwell_gl_tests PRIVATE paintwell png_test_support GTest::gtest GTest::gtest_main)
target_include_directories(paintwell_gl_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_compile_definitions(paintwell_gl_tests PRIVATE
  TALLOW_VERA_PATH="/usr/share/fonts/truetype/ttf-bitstream-vera/Vera.ttf")
if(COMMAND tallow_register_tests)
  tallow_register_tests(paintwell_gl_tests gl)
else()
  gtest_discover_tests(paintwell_gl_tests DISCOVERY_MODE PRE_TEST PROPERTIES LABELS gl)
endif()
