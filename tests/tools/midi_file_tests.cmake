# The standard MIDI file reader of the offline renderer, tested on its own.
if(TALLOW_TOOLS)
  add_executable(midi_file_tests ${CMAKE_CURRENT_LIST_DIR}/midi_file_test.cpp
                 ${CMAKE_SOURCE_DIR}/tools/render_tool/midi_file.cpp)
  target_include_directories(midi_file_tests PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(midi_file_tests PRIVATE GTest::gtest GTest::gtest_main)
  tallow_register_tests(midi_file_tests unit)
endif()
