# The editor, its frame and the effect's panel without a window system: the
# toolkit's portable sources built with an in-memory window layer
# (fake_window.cpp) in place of the real one.
if(WIN32)
  set(headless_platform win32)
else()
  set(headless_platform x11)
endif()
file(GLOB headless_gui_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/gui/*.cpp)
add_library(headless_gui OBJECT ${headless_gui_sources} ${CMAKE_CURRENT_LIST_DIR}/fake_window.cpp
            ${CMAKE_SOURCE_DIR}/gui/platform/${headless_platform}/thread_yield.cpp)
target_include_directories(headless_gui PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
target_compile_definitions(headless_gui PRIVATE TALLOW_WEBSITE_URL="https://example.invalid/tallow-reed")
target_link_libraries(headless_gui PUBLIC paintwell plugcore)

file(GLOB headless_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_test.cpp)
add_executable(editor_tests ${headless_test_sources})
target_link_libraries(editor_tests PRIVATE headless_gui GTest::gtest GTest::gtest_main)
tallow_register_tests(editor_tests unit)

# The core's notifications and host automation from another thread while the
# editor ticks, opens and closes (`make tsan` runs it).
find_package(Threads REQUIRED)
add_executable(editor_thread_tests ${CMAKE_CURRENT_LIST_DIR}/threads/editor_threads_test.cpp)
target_link_libraries(editor_thread_tests PRIVATE headless_gui GTest::gtest GTest::gtest_main Threads::Threads)
add_test(NAME editor_thread_tests COMMAND editor_thread_tests)
set_tests_properties(editor_thread_tests PROPERTIES LABELS "unit;tsan" TIMEOUT 120)
