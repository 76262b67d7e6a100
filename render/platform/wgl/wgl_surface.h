// The WGL surface record, shared by the files of this binding only.
#pragma once

#include <windows.h>

namespace Paintwell::platform {

struct Surface {
    HWND window;
    HDC dc;
    HGLRC context;
};

}  // namespace Paintwell::platform
