# The allocation probe replaces the C library's allocator, so it runs as a
# program of its own, and only where it can reach glibc's own entry points
# without a sanitizer's allocator in the way.
if(NOT WIN32 AND NOT TALLOW_SANITIZED)
  add_executable(effect_allocation_tests ${CMAKE_CURRENT_LIST_DIR}/allocation_probe.cpp)
  target_link_libraries(effect_allocation_tests PRIVATE reed GTest::gtest GTest::gtest_main)
  target_include_directories(effect_allocation_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR})
  gtest_discover_tests(effect_allocation_tests DISCOVERY_MODE PRE_TEST PROPERTIES LABELS dsp)
endif()
