# Unit tests of the rendering library that need no GPU: the PNG decoder,
# images and the PNG-to-texture path. GL tests live in their own folder and
# fragment, so this glob is deliberately not recursive.
add_library(png_test_support STATIC ${CMAKE_CURRENT_LIST_DIR}/support/png_writer.cpp)
target_include_directories(png_test_support PUBLIC ${CMAKE_CURRENT_LIST_DIR}/support)

tallow_test_program(render_tests paintwell render unit)
if(TARGET render_tests)
  target_link_libraries(render_tests PRIVATE png_test_support)
  target_compile_definitions(render_tests PRIVATE TALLOW_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endif()

# The GL tests draw decoded PNG files too.
if(TARGET paintwell_gl_tests)
  target_link_libraries(paintwell_gl_tests PRIVATE png_test_support)
endif()
