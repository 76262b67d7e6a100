# The CLAP test host: loads a .clap through its exported entry and answers
# the host side of the interface, as tests/host does for the VST2 module. A
# library for the CLAP host tests, built for Linux (dlopen) and, in the cross
# build, for Windows (LoadLibrary under Wine).
include(${CMAKE_SOURCE_DIR}/tools/host_kit/host_kit.cmake)

add_library(claphost STATIC ${CMAKE_CURRENT_LIST_DIR}/clap_host.cpp ${CMAKE_CURRENT_LIST_DIR}/clap_io.cpp)
target_include_directories(claphost PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(claphost PUBLIC hostkit)
