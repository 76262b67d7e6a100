// The WGL surface record, shared by the files of this binding only, and the
// pixel format a window needs for the renderer to draw into it.
#pragma once

#include <windows.h>

namespace Paintwell::platform {

struct Surface {
    HWND window;
    HDC dc;
    HGLRC context;
};

/// Double-buffered 24-bit RGBA, drawn to a window through OpenGL.
PIXELFORMATDESCRIPTOR windowPixelFormat();

}  // namespace Paintwell::platform
