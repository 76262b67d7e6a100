# The host side shared by the offline renderer and the host harness: module
# loading behind a small platform seam. Included by both; built once.
include_guard(GLOBAL)
tallow_subsystem(hostkit tools/host_kit ${TALLOW_OS})
target_link_libraries(hostkit PUBLIC ${CMAKE_DL_LIBS})
