# The toolkit's demo program (a test tool, not part of the module) and the
# demo controls the window tests drive. Platform pieces of the demo's own
# loop live in platform/<x11|win32>/.
if(WIN32)
  set(demo_platform win32)
else()
  set(demo_platform x11)
endif()
add_library(wispkit_demo_controls STATIC ${CMAKE_CURRENT_LIST_DIR}/demo_controls.cpp)
target_link_libraries(wispkit_demo_controls PUBLIC wispkit)
target_include_directories(wispkit_demo_controls PUBLIC ${CMAKE_CURRENT_LIST_DIR})

file(GLOB demo_platform_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/platform/${demo_platform}/*.cpp)
add_executable(wispkit_demo ${CMAKE_CURRENT_LIST_DIR}/demo.cpp ${demo_platform_sources})
target_link_libraries(wispkit_demo PRIVATE wispkit_demo_controls)
if(WIN32)
  target_link_libraries(wispkit_demo PRIVATE win32_test_window)
endif()
