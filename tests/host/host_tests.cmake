# The host harness: loads the built module through its exported entry, as a
# host does, and checks it from the outside. The same sources build for Linux
# (dlopen) and, in the cross build, for Windows (LoadLibrary under Wine).
include(${CMAKE_SOURCE_DIR}/tools/host_kit/host_kit.cmake)

file(GLOB host_test_sources CONFIGURE_DEPENDS
     ${CMAKE_CURRENT_LIST_DIR}/*_test.cpp ${CMAKE_CURRENT_LIST_DIR}/test_host.cpp)
add_executable(host_tests ${host_test_sources})
target_link_libraries(host_tests PRIVATE hostkit claphost GTest::gtest GTest::gtest_main)
add_dependencies(host_tests TallowReed TallowReedClap)
target_compile_definitions(host_tests PRIVATE TALLOW_VERSION="${PROJECT_VERSION}")

if(WIN32)
  # The DLL sits beside the test program, where LoadLibrary looks first.
  # The factory bank the state tests compare with sits there too.
  target_compile_definitions(host_tests PRIVATE TALLOW_MODULE_PATH="TallowReed.dll"
                             TALLOW_CLAP_PATH="TallowReed.clap" TALLOW_FACTORY_BANK_PATH="FactoryBank.fxb")
  add_custom_target(host_tests_module ALL
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:TallowReed> $<TARGET_FILE_DIR:host_tests>/
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:TallowReedClap> $<TARGET_FILE_DIR:host_tests>/
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/resources/FactoryBank.fxb
            $<TARGET_FILE_DIR:host_tests>/
    DEPENDS TallowReed TallowReedClap)
  add_dependencies(host_tests host_tests_module)
else()
  target_compile_definitions(host_tests PRIVATE TALLOW_MODULE_PATH="$<TARGET_FILE:TallowReed>"
                             TALLOW_CLAP_PATH="$<TARGET_FILE:TallowReedClap>"
                             TALLOW_FACTORY_BANK_PATH="${CMAKE_SOURCE_DIR}/resources/FactoryBank.fxb")
endif()
# The module finds the harness's prompt answerer among the program's exports.
set_target_properties(host_tests PROPERTIES ENABLE_EXPORTS ON)
if(CMAKE_CROSSCOMPILING)
  tallow_register_tests(host_tests host)
else()
  # The module reads per-user defaults: the harness gives it a folder of its own.
  gtest_discover_tests(host_tests DISCOVERY_MODE PRE_TEST PROPERTIES LABELS host
                       ENVIRONMENT "XDG_CONFIG_HOME=${CMAKE_CURRENT_BINARY_DIR}/host_config")
endif()

# What the system sees of the module: only the entry names are exported, and
# no compiler runtime is needed beside it.
set(check_module ${CMAKE_CURRENT_LIST_DIR}/check_module.sh)
if(WIN32)
  set(module_checks dll-exports dll-imports)
else()
  set(module_checks so-exports)
  if(NOT TALLOW_SANITIZED)
    list(APPEND module_checks so-runtime)  # sanitizer runtimes are shared libraries
  endif()
endif()
foreach(check IN LISTS module_checks)
  add_test(NAME module_${check} COMMAND bash ${check_module} ${check} $<TARGET_FILE:TallowReed>)
  set_tests_properties(module_${check} PROPERTIES LABELS host)
endforeach()
if(WIN32)
  add_test(NAME host_tests_imports COMMAND bash ${check_module} dll-imports $<TARGET_FILE:host_tests>)
  set_tests_properties(host_tests_imports PROPERTIES LABELS host)
endif()

# A host cannot load a module built with sanitizers, so the scan needs a plain build.
if(NOT WIN32 AND NOT TALLOW_SANITIZED)
  add_test(NAME module_real_host_scan COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/real_host_scan.sh
           $<TARGET_FILE:TallowReed> ${CMAKE_CURRENT_BINARY_DIR}/real_host_scan)
  set_tests_properties(module_real_host_scan PROPERTIES LABELS host SKIP_RETURN_CODE 77)
  add_test(NAME clap_real_host_scan COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/qtractor_scan.sh
           $<TARGET_FILE:TallowReedClap> ${CMAKE_CURRENT_BINARY_DIR}/qtractor_scan)
  set_tests_properties(clap_real_host_scan PROPERTIES LABELS host SKIP_RETURN_CODE 77)
endif()
