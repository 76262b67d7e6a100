# FreeType's symbols stay inside the modules: hidden in its archive and never
# exported on Linux; neither exported nor imported as a DLL on Windows.
if(WIN32)
  find_program(TALLOW_OBJDUMP NAMES x86_64-w64-mingw32-objdump objdump)
  add_test(NAME freetype_symbols_hidden
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/check_freetype_hidden_dll.sh ${TALLOW_OBJDUMP}
                   $<TARGET_FILE:TallowReed>)
elseif(TARGET paintwell_freetype)  # not when the system's shared FreeType is linked
  add_test(NAME freetype_symbols_hidden
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/check_freetype_hidden.sh
                   $<TARGET_FILE:paintwell_freetype> $<TARGET_FILE:TallowReed>)
endif()
if(TEST freetype_symbols_hidden)
  set_tests_properties(freetype_symbols_hidden PROPERTIES LABELS unit)
endif()
