# Windows, pumps and menu lookup shared by the window tests of the toolkit
# and of the host-driven editor.
if(WIN32)
  add_library(win32_test_window STATIC ${CMAKE_CURRENT_LIST_DIR}/win32_test_window.cpp)
  target_include_directories(win32_test_window PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(win32_test_window PUBLIC user32)
endif()
