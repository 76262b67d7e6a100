add_executable(fuzz_midi_file ${CMAKE_SOURCE_DIR}/fuzz/midi_file_fuzzer.cpp
               ${CMAKE_SOURCE_DIR}/tools/render_tool/midi_file.cpp)
target_include_directories(fuzz_midi_file PRIVATE ${CMAKE_SOURCE_DIR})
target_link_options(fuzz_midi_file PRIVATE -fsanitize=fuzzer)
set_target_properties(fuzz_midi_file PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
