# The toolkit's window layer on Windows (run under Wine): a host-like window
# with a wrapper in it, driven by real messages, menus and paints.
if(WIN32)
  file(GLOB gui_win32_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
  add_executable(gui_win32_tests ${gui_win32_sources})
  target_link_libraries(gui_win32_tests PRIVATE wispkit_demo_controls win32_test_window GTest::gtest GTest::gtest_main)
  target_include_directories(gui_win32_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  tallow_register_tests(gui_win32_tests gui)
  # The tests move the pointer out of their windows' way.
  set_tests_properties(gui_win32_tests PROPERTIES RESOURCE_LOCK x11_pointer)
endif()
