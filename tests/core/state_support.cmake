# The state tests' shared test effect, prompt recorder and chunk builder.
foreach(program core_tests effect_tests)
  if(TARGET ${program})
    target_sources(${program} PRIVATE ${CMAKE_CURRENT_LIST_DIR}/state_fixture.cpp)
  endif()
endforeach()

# The seed replay reads the chunk fuzzer's corpus from the source tree.
if(TARGET core_tests)
  target_compile_definitions(core_tests PRIVATE TALLOW_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endif()

# The chunk fuzzer's entry, for the test that replays its seed corpus.
if(TARGET core_tests)
  target_sources(core_tests PRIVATE ${CMAKE_SOURCE_DIR}/fuzz/chunk_entry.cpp)
endif()
