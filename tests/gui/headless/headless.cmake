# The editor, its frame and the effect's panel without a window system: the
# toolkit's portable sources built with an in-memory window layer
# (fake_window.cpp) in place of the real one.
if(WIN32)
  set(headless_platform win32)
else()
  set(headless_platform x11)
endif()
file(GLOB headless_gui_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/gui/*.cpp)
file(GLOB headless_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
add_executable(editor_tests ${headless_test_sources} ${headless_gui_sources}
               ${CMAKE_SOURCE_DIR}/gui/platform/${headless_platform}/thread_yield.cpp)
target_include_directories(editor_tests PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
target_compile_definitions(editor_tests PRIVATE TALLOW_WEBSITE_URL="https://example.invalid/tallow-reed")
target_link_libraries(editor_tests PRIVATE reed paintwell plugcore GTest::gtest GTest::gtest_main)
tallow_register_tests(editor_tests unit)
