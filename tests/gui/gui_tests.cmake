# The toolkit's portable tests: the control tree, controls and the frame with
# no window (tests/gui/*_test.cpp). Window-system tests have fragments of
# their own under tests/gui/platform/.
file(GLOB gui_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_test.cpp)
if(gui_test_sources)
  add_executable(gui_tests ${gui_test_sources})
  target_link_libraries(gui_tests PRIVATE wispkit GTest::gtest GTest::gtest_main GTest::gmock)
  target_include_directories(gui_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  tallow_register_tests(gui_tests unit)
endif()
