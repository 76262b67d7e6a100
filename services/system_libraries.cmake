# System libraries the platform services call.
if(WIN32)
  target_link_libraries(services PUBLIC shell32)  # SHGetFolderPathA
else()
  target_link_libraries(services PUBLIC ${CMAKE_DL_LIBS})  # dlsym for the host's prompt answerer
endif()
