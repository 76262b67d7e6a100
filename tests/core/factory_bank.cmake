# The checked-in factory bank must be exactly what the program table makes.
if(TARGET make-factory-bank)
  add_test(NAME FactoryBankFile.MatchesProgramTable
           COMMAND make-factory-bank --check ${CMAKE_SOURCE_DIR}/resources/FactoryBank.fxb)
  set_tests_properties(FactoryBankFile.MatchesProgramTable PROPERTIES LABELS unit)
endif()
