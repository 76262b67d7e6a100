# The toolkit draws with the renderer and reaches the plug-in through the
# core's editor interface; its window layer calls the window system.
target_link_libraries(wispkit PUBLIC paintwell plugcore)
if(WIN32)
  target_link_libraries(wispkit PUBLIC user32 gdi32 comctl32 shell32)
else()
  find_package(X11 REQUIRED)
  target_link_libraries(wispkit PUBLIC X11::X11)
endif()
