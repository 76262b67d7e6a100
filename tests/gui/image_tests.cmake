# The image tests build PNG files with the renderer's test writer, stand a
# recording device in for the GPU, and replay the PNG fuzzer's seeds.
if(TARGET gui_tests)
  target_link_libraries(gui_tests PRIVATE png_test_support)
  target_compile_definitions(gui_tests PRIVATE TALLOW_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endif()
