# System libraries the core's platform layer calls.
if(WIN32)
  target_link_libraries(plugcore PUBLIC shell32)  # SHGetFolderPathA
else()
  target_link_libraries(plugcore PUBLIC ${CMAKE_DL_LIBS})  # dlsym for the host's prompt answerer
endif()
