# The Linux build checks that FreeType's symbols stay inside the module
# (the Windows module exports only what its .def file lists).
if(NOT WIN32)
  add_test(NAME freetype_symbols_hidden
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/check_freetype_hidden.sh
                   $<TARGET_FILE:paintwell_freetype> $<TARGET_FILE:TallowReed>)
  set_tests_properties(freetype_symbols_hidden PROPERTIES LABELS unit)
endif()
