# Conformance of the PNG decoder with libpng over a corpus generated at test
# time. Native builds only: the cross build has no libpng.
if(NOT WIN32)
  find_package(PNG REQUIRED)
  find_package(ZLIB REQUIRED)
  add_executable(png_libpng_tests ${CMAKE_CURRENT_LIST_DIR}/png_libpng_test.cpp)
  target_link_libraries(png_libpng_tests PRIVATE paintwell png_test_support PNG::PNG ZLIB::ZLIB
                        GTest::gtest GTest::gtest_main)
  gtest_discover_tests(png_libpng_tests DISCOVERY_MODE PRE_TEST PROPERTIES LABELS unit)
endif()
