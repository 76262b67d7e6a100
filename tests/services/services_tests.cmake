# The resource tests compare the embedded bytes with the files they came from.
if(TARGET services_tests)
  target_compile_definitions(services_tests PRIVATE TALLOW_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                             TALLOW_BINARY_DIR="${CMAKE_BINARY_DIR}")
endif()
