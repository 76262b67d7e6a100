# tallow_subsystem(<target> <dir> <platform-folder>)
#
# Builds one static library from every .cpp/.c below <dir>, except the
# platform folders, plus the sources of <dir>/platform/<platform-folder>.
# Sources are globbed so that adding a file needs no edit here.
function(tallow_subsystem target dir platform)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.c)
  list(FILTER sources EXCLUDE REGEX "/${dir}/platform/")
  if(platform)
    file(GLOB_RECURSE platform_sources CONFIGURE_DEPENDS
         ${CMAKE_SOURCE_DIR}/${dir}/platform/${platform}/*.cpp
         ${CMAKE_SOURCE_DIR}/${dir}/platform/${platform}/*.c)
    list(APPEND sources ${platform_sources})
  endif()
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${CMAKE_SOURCE_DIR})
  endif()
endfunction()

# Extra CMake fragments (<dir>/*.cmake) let a subsystem add targets or
# link options without touching shared files.
function(tallow_include_fragments dir)
  file(GLOB fragments CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cmake)
  list(SORT fragments)
  foreach(fragment IN LISTS fragments)
    include(${fragment})
  endforeach()
endfunction()
