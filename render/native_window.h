// The native window a device draws into, as the toolkit's platform layer
// hands it over. The renderer never creates, moves or destroys it.
//
// Windows: handle is the HWND, display is unused (null).
// X11: display is the caller's Display*, which must stay open for the
// device's lifetime; handle is the Window id. The window must have been
// created with a double-buffered, 24-bit RGB GLX visual
// (render/platform/glx/glx_visual.h picks one).
#pragma once

#include <cstdint>

namespace Paintwell {

struct NativeWindow {
    void* display = nullptr;
    std::uintptr_t handle = 0;
};

}  // namespace Paintwell
