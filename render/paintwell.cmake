# The renderer draws through the system's OpenGL and window-system binding,
# and finds its face through the module's resource lookup.
target_link_libraries(paintwell PUBLIC services)
if(WIN32)
  target_link_libraries(paintwell PUBLIC opengl32 gdi32 user32)
else()
  find_package(OpenGL REQUIRED COMPONENTS OpenGL GLX)
  find_package(X11 REQUIRED)
  target_link_libraries(paintwell PUBLIC OpenGL::GL OpenGL::GLX X11::X11)
endif()
