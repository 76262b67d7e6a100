# The checked-in texture sheets must be exactly what the artwork generator draws
# (it also reads each one back through the module's PNG reader).
if(TARGET make-artwork)
  add_test(NAME ArtworkFiles.MatchGenerator COMMAND make-artwork --check ${CMAKE_SOURCE_DIR}/resources)
  set_tests_properties(ArtworkFiles.MatchGenerator PROPERTIES LABELS unit)
endif()
