# Tests of the offline renderer: its pieces directly, and the command line
# against the real module and against modules that misbehave. Native only.
if(NOT TARGET render_tool)
  return()
endif()

add_executable(render_tool_tests
  ${CMAKE_CURRENT_LIST_DIR}/options_test.cpp ${CMAKE_CURRENT_LIST_DIR}/preset_file_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/audio_test.cpp ${CMAKE_CURRENT_LIST_DIR}/render_test.cpp)
target_link_libraries(render_tool_tests PRIVATE render_tool GTest::gtest GTest::gtest_main)
tallow_register_tests(render_tool_tests unit)

foreach(kind 1 2 3)
  add_library(render_probe_${kind} MODULE ${CMAKE_CURRENT_LIST_DIR}/probe_modules.cpp)
  target_compile_definitions(render_probe_${kind} PRIVATE PROBE_KIND=${kind})
  target_include_directories(render_probe_${kind} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(render_probe_${kind} PRIVATE ${CMAKE_DL_LIBS})
endforeach()

set(render_cli_dir ${CMAKE_CURRENT_BINARY_DIR}/render_cli)
file(MAKE_DIRECTORY ${render_cli_dir})
set(expect ${CMAKE_CURRENT_LIST_DIR}/expect_exit.sh)
set(tool $<TARGET_FILE:tallow-render>)
set(reed $<TARGET_FILE:TallowReed>)

# render_cli(<name> <status> <regex> <arguments...>)
# Every test writes its own output file, so tests running side by side never
# share one.
function(render_cli name status regex)
  string(REPLACE "@OUT@" "${render_cli_dir}/${name}.wav" arguments "${ARGN}")
  add_test(NAME render_cli_${name} COMMAND bash ${expect} ${status} ${regex} -- ${tool} ${arguments})
  # The module reads per-user defaults: give it a folder of its own.
  set_tests_properties(render_cli_${name} PROPERTIES LABELS host
                       ENVIRONMENT "XDG_CONFIG_HOME=${CMAKE_CURRENT_BINARY_DIR}/render_cli_config")
endfunction()

set(out --output @OUT@)
render_cli(demo 0 "rendered .* frames.*realtime" --module ${reed} --program 0 ${out} --tail 0.2)
render_cli(demo_double 0 "double precision, blocks of 33"
           --module ${reed} --double --block 33 --rate 48000 --set depth=0.25 ${out})
render_cli(no_arguments 2 "no module given")
render_cli(missing_module 1 "cannot load module" --module ${render_cli_dir}/absent.so ${out})
render_cli(not_a_module 1 "cannot load module" --module ${CMAKE_CURRENT_LIST_DIR}/expect_exit.sh ${out})
render_cli(no_entry 1 "not a VST 2 module" --module $<TARGET_FILE:render_probe_3> ${out})
render_cli(null_effect 1 "returned no effect" --module $<TARGET_FILE:render_probe_1> ${out})
render_cli(question_no 1 "Something went wrong.*Load this\\?.*answered No.*probe: answer 0" --module $<TARGET_FILE:render_probe_2> ${out})
render_cli(question_yes 1 "Load this\\?.*answered Yes.*probe: answer 1"
           --module $<TARGET_FILE:render_probe_2> --yes ${out})
render_cli(unknown_parameter 1 "no parameter \"colour\".*depth" --module ${reed} --set colour=0.5 ${out})
render_cli(value_outside 2 "from 0 to 1" --module ${reed} --set depth=1.01 ${out})
render_cli(program_outside 1 "out of range.*16 programs" --module ${reed} --program 16 ${out})
render_cli(missing_input 1 "cannot read audio file" --module ${reed} --input ${render_cli_dir}/absent.wav ${out})
render_cli(input_not_audio 1 "cannot read audio file" --module ${reed} --input ${expect} ${out})
render_cli(preset_bad_magic 1 "CcnK" --module ${reed} --preset ${expect} ${out})
render_cli(preset_missing 1 "cannot open" --module ${reed} --preset ${render_cli_dir}/absent.fxp ${out})
render_cli(output_unwritable 1 "cannot create" --module ${reed} --output ${render_cli_dir}/no/such/dir/out.wav)

add_test(NAME render_cli_preset_round_trip COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/preset_round_trip.sh
         ${tool} ${reed} ${CMAKE_CURRENT_BINARY_DIR}/preset_round_trip)
set_tests_properties(render_cli_preset_round_trip PROPERTIES LABELS host)
