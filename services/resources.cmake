# The module's resources, listed once in resources/resources.cmake. Linux compiles
# them into services as arrays; Windows compiles resources/TallowReed.rc, which
# includes the same list, into every executable and module that links services.
set(resource_build_dir ${CMAKE_BINARY_DIR}/resources)
file(MAKE_DIRECTORY ${resource_build_dir})
set(resource_entries "")
set(resource_files "")

function(tallow_resource type name file)
  set(path ${CMAKE_SOURCE_DIR}/resources/${file})
  set(resource_entries "${resource_entries}${type}|${name}|${path}\n" PARENT_SCOPE)
  set(resource_files ${resource_files} ${path} PARENT_SCOPE)
endfunction()

function(tallow_system_resource type name source package)
  if(NOT EXISTS ${source})
    message(FATAL_ERROR "${source} is missing: install the Debian package ${package} (scripts/setup.sh)")
  endif()
  get_filename_component(leaf ${source} NAME)
  file(COPY ${source} DESTINATION ${resource_build_dir})
  set(path ${resource_build_dir}/${leaf})
  set(resource_entries "${resource_entries}${type}|${name}|${path}\n" PARENT_SCOPE)
  set(resource_files ${resource_files} ${path} PARENT_SCOPE)
endfunction()

include(${CMAKE_SOURCE_DIR}/resources/resources.cmake)
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${CMAKE_SOURCE_DIR}/resources/resources.cmake)

if(WIN32)
  # windres reads "name type file" lines; names and types are looked up without regard to case.
  string(REGEX REPLACE "([^|\n]+)\\|([^|\n]+)\\|([^\n]+)" "\\2 \\1 \"\\3\"" resource_lines "${resource_entries}")
  file(CONFIGURE OUTPUT ${resource_build_dir}/resource_list.rc CONTENT "${resource_lines}")
  add_library(tallow_resources OBJECT ${CMAKE_SOURCE_DIR}/resources/TallowReed.rc)
  target_include_directories(tallow_resources PRIVATE ${resource_build_dir} ${CMAKE_SOURCE_DIR}/resources)
  set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/TallowReed.rc PROPERTIES
    OBJECT_DEPENDS "${resource_files};${resource_build_dir}/resource_list.rc;${CMAKE_SOURCE_DIR}/resources/TallowReed.manifest")
  # A resource object defines no symbol, so from inside a static library it would never
  # be linked; handing the object itself to every consumer's link keeps it.
  target_link_libraries(services INTERFACE $<TARGET_OBJECTS:tallow_resources>)
  add_dependencies(services tallow_resources)
else()
  file(WRITE ${resource_build_dir}/resource_list.txt.new "${resource_entries}")
  file(COPY_FILE ${resource_build_dir}/resource_list.txt.new ${resource_build_dir}/resource_list.txt ONLY_IF_DIFFERENT)
  set(embedded ${resource_build_dir}/embedded_resources.cpp)
  add_custom_command(
    OUTPUT ${embedded}
    COMMAND ${CMAKE_COMMAND} -DLIST=${resource_build_dir}/resource_list.txt -DOUTPUT=${embedded}
            -P ${CMAKE_SOURCE_DIR}/resources/embed_resources.cmake
    DEPENDS ${resource_files} ${resource_build_dir}/resource_list.txt ${CMAKE_SOURCE_DIR}/resources/embed_resources.cmake
    COMMENT "Embedding the module's resources"
    VERBATIM)
  target_sources(services PRIVATE ${embedded})
endif()
