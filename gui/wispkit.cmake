# The toolkit draws with the renderer and reaches the plug-in through the
# core's editor interface; its window layer calls the window system.
target_link_libraries(wispkit PUBLIC paintwell plugcore)
if(WIN32)
  target_link_libraries(wispkit PUBLIC user32 gdi32 comctl32 shell32)
else()
  find_package(X11 REQUIRED)
  target_link_libraries(wispkit PUBLIC X11::X11)
endif()

# The defaults menu's web-site item. Without an address the item is shown
# disabled; the build never makes one up.
set(TALLOW_WEBSITE_LABEL "Corvelight on the &web" CACHE STRING "Text of the editor's web-site menu item")
set(TALLOW_WEBSITE_URL "" CACHE STRING "Address the editor's web-site menu item opens (empty: item disabled)")
set_property(SOURCE ${CMAKE_SOURCE_DIR}/gui/plug_frame.cpp APPEND PROPERTY COMPILE_DEFINITIONS
             "TALLOW_WEBSITE_LABEL=\"${TALLOW_WEBSITE_LABEL}\"" "TALLOW_WEBSITE_URL=\"${TALLOW_WEBSITE_URL}\"")
