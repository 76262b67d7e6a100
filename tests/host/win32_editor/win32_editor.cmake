# The module's editor as a Windows host opens it (run under Wine): a window
# of the host's, real input messages sent to the editor's child window, and
# the gestures the host callback hears.
if(NOT WIN32)
  return()
endif()
add_executable(host_win32_editor_tests ${CMAKE_CURRENT_LIST_DIR}/win32_editor_test.cpp
               ${CMAKE_CURRENT_LIST_DIR}/../test_host.cpp)
target_link_libraries(host_win32_editor_tests PRIVATE hostkit win32_test_window GTest::gtest GTest::gtest_main)
target_include_directories(host_win32_editor_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
# The DLL is copied beside the test programs for host_tests already.
target_compile_definitions(host_win32_editor_tests PRIVATE TALLOW_MODULE_PATH="TallowReed.dll"
                           TALLOW_FACTORY_BANK_PATH="FactoryBank.fxb")
set_target_properties(host_win32_editor_tests PROPERTIES ENABLE_EXPORTS ON)
add_dependencies(host_win32_editor_tests host_tests_module)
tallow_register_tests(host_win32_editor_tests host)
# The test parks the real pointer away from its windows.
set_tests_properties(host_win32_editor_tests PROPERTIES RESOURCE_LOCK x11_pointer)
