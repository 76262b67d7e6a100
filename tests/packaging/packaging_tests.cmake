# Release checks. Natively: what the shipped binaries need from the C library,
# the modules' own object lookup, and the installed layout loaded as hosts
# load it. In the Windows build, which make test runs once both builds exist:
# the release archives. (make test checks the Debian package after both.)
get_property(shipped_modules GLOBAL PROPERTY TALLOW_SHIPPED_MODULES)
if(NOT WIN32)
  set(TALLOW_GLIBC_REACH 2.34 CACHE STRING "The newest glibc symbol version a shipped Linux binary may need")

  # A module linked as the shipped ones are, which throws and catches inside itself.
  add_library(unwind_probe MODULE ${CMAKE_CURRENT_LIST_DIR}/unwind_probe.cpp)
  set_target_properties(unwind_probe PROPERTIES PREFIX "")
  target_link_options(unwind_probe PRIVATE -Wl,--version-script=${CMAKE_CURRENT_LIST_DIR}/unwind_probe.version
                      -static-libstdc++ -static-libgcc)
  tallow_shipped_module(unwind_probe)

  add_executable(find_object_tests ${CMAKE_CURRENT_LIST_DIR}/find_object_test.cpp)
  target_link_libraries(find_object_tests PRIVATE tallow_find_object GTest::gtest GTest::gtest_main ${CMAKE_DL_LIBS})
  target_compile_definitions(find_object_tests PRIVATE TALLOW_UNWIND_PROBE="$<TARGET_FILE:unwind_probe>")
  add_dependencies(find_object_tests unwind_probe)
  tallow_register_tests(find_object_tests release)

  add_executable(clap_scan ${CMAKE_CURRENT_LIST_DIR}/clap_scan.cpp)
  target_link_libraries(clap_scan PRIVATE claphost)

  if(TARGET TallowReed_lv2)
    set(lv2_form ON)
  else()
    set(lv2_form OFF)
  endif()
  add_test(NAME release_install
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/install_test.sh ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}
                   $<TARGET_FILE:host_tests> $<TARGET_FILE:clap_scan> ${PROJECT_VERSION} ${lv2_form})
  set_tests_properties(release_install PROPERTIES LABELS release)

  # Sanitizer runtimes are newer shared libraries, and no release ships such a build.
  if(NOT TALLOW_SANITIZED)
    set(shipped_files $<TARGET_FILE:unwind_probe>)
    foreach(module IN LISTS shipped_modules)
      list(APPEND shipped_files $<TARGET_FILE:${module}>)
    endforeach()
    add_test(NAME release_glibc_reach
             COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/glibc-reach.sh --max ${TALLOW_GLIBC_REACH} ${shipped_files})
    set_tests_properties(release_glibc_reach PROPERTIES LABELS release)
  endif()
else()
  add_test(NAME release_archives
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/dist_test.sh ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/build/native
                   ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
  set_tests_properties(release_archives PROPERTIES LABELS release SKIP_RETURN_CODE 77)
endif()
