# The X11 window layer under a real X server (Xvfb in `make test`): input
# comes through XTest, so every case drives the one pointer and keyboard of
# the display and holds the x11_pointer lock; other tests that move the
# pointer or grab it take the same lock.
if(WIN32)
  return()
endif()
find_package(X11 REQUIRED COMPONENTS Xtst)
find_package(Threads REQUIRED)

add_library(wispkit_x11_test_host STATIC ${CMAKE_CURRENT_LIST_DIR}/x11_test_host.cpp)
target_link_libraries(wispkit_x11_test_host PUBLIC wispkit_demo_controls X11::Xtst X11::X11)
target_include_directories(wispkit_x11_test_host PUBLIC ${CMAKE_CURRENT_LIST_DIR})

file(GLOB x11_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_test.cpp)
add_executable(wispkit_x11_tests ${x11_test_sources})
target_link_libraries(wispkit_x11_tests PRIVATE wispkit_x11_test_host GTest::gtest GTest::gtest_main)
gtest_discover_tests(wispkit_x11_tests DISCOVERY_MODE PRE_TEST
                     PROPERTIES LABELS gui RESOURCE_LOCK x11_pointer TIMEOUT 120)

# redraw from other threads, in every build and in the ThreadSanitizer one
# (`make tsan`, which gives no display of its own: with-display.sh does).
# The Xlib and GLX calls the layer makes are wrapped to see their threads.
set(x11_guarded XPending XNextEvent XFlush XSync XGrabPointer XUngrabPointer XDefineCursor XUndefineCursor
    XGetWindowAttributes XFillRectangle XClearArea XSendEvent glXMakeCurrent glXSwapBuffers)
add_executable(wispkit_x11_thread_tests ${CMAKE_CURRENT_LIST_DIR}/threads/redraw_threads_test.cpp
               ${CMAKE_CURRENT_LIST_DIR}/threads/xlib_thread_guard.cpp)
target_link_libraries(wispkit_x11_thread_tests PRIVATE wispkit_x11_test_host GTest::gtest GTest::gtest_main
                      Threads::Threads)
foreach(symbol IN LISTS x11_guarded)
  target_link_options(wispkit_x11_thread_tests PRIVATE "LINKER:--wrap=${symbol}")
endforeach()
add_test(NAME wispkit_x11_thread_tests
         COMMAND ${CMAKE_SOURCE_DIR}/scripts/with-display.sh $<TARGET_FILE:wispkit_x11_thread_tests>)
set_tests_properties(wispkit_x11_thread_tests PROPERTIES LABELS "gui;tsan" RESOURCE_LOCK x11_pointer TIMEOUT 120)

# Under the sanitizers the GL driver stays loaded until exit (see the file).
# Mesa's software rasterizer hands its work to threads of its own that it
# synchronises in code ThreadSanitizer cannot see, so it reports the driver
# against itself; rasterizing on the calling thread leaves only our threads.
if(TALLOW_SANITIZED)
  target_sources(wispkit_x11_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/gl_driver_pin.cpp)
  target_sources(wispkit_x11_thread_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/gl_driver_pin.cpp)
  set_tests_properties(wispkit_x11_thread_tests PROPERTIES ENVIRONMENT "LP_NUM_THREADS=0")
endif()
