# The threaded MIDI-learn test runs on its own, labelled tsan so that the
# ThreadSanitizer build (`make tsan`) picks it out; it runs in every build.
find_package(Threads REQUIRED)
add_executable(midi_thread_tests ${CMAKE_CURRENT_LIST_DIR}/midi_learn_threads.cpp)
target_link_libraries(midi_thread_tests PRIVATE vst2form GTest::gtest GTest::gtest_main Threads::Threads)
target_include_directories(midi_thread_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR})
add_test(NAME midi_thread_tests COMMAND midi_thread_tests)
set_tests_properties(midi_thread_tests PROPERTIES LABELS "unit;tsan" TIMEOUT 120)
