# tallow-render --midi end to end, against a module built on the plug-in core
# whose output shows its parameter values. Native only, like the renderer.
if(NOT TARGET render_tool)
  return()
endif()

add_library(midi_probe MODULE ${CMAKE_CURRENT_LIST_DIR}/midi_probe_module.cpp)
target_link_libraries(midi_probe PRIVATE vst2form)
set_target_properties(midi_probe PROPERTIES PREFIX "")

add_executable(midi_render_tests ${CMAKE_CURRENT_LIST_DIR}/midi_render_test.cpp)
target_link_libraries(midi_render_tests PRIVATE render_tool reed vst2form GTest::gtest GTest::gtest_main)
target_compile_definitions(midi_render_tests PRIVATE MIDI_PROBE_MODULE="$<TARGET_FILE:midi_probe>"
                                                     REED_MODULE="$<TARGET_FILE:TallowReed>")
add_dependencies(midi_render_tests midi_probe TallowReed)
set_target_properties(midi_render_tests PROPERTIES ENABLE_EXPORTS ON)  # as tallow-render: modules may call back into it
tallow_register_tests(midi_render_tests host)

add_test(NAME render_cli_midi_not_a_midi_file
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/expect_exit.sh 1 "MIDI file .*no MThd header" --
                 $<TARGET_FILE:tallow-render> --module $<TARGET_FILE:TallowReed> --midi ${CMAKE_CURRENT_LIST_DIR}/expect_exit.sh
                 --output ${CMAKE_CURRENT_BINARY_DIR}/midi_cli_out.wav)
set_tests_properties(render_cli_midi_not_a_midi_file PROPERTIES LABELS host)
