// The one seam between the portable renderer and the window system's GL
// binding (WGL on Windows, GLX on X11). Portable code reaches the native
// window, its GL context, entry points and the user's text settings only
// through these functions.
//
// Threads: the thread that owns the window. Ownership: a Surface belongs to
// the device that opened it and is closed by it.
#pragma once

#include "render/native_window.h"

#include <cstdint>

namespace Paintwell::platform {

/// The window's drawable with the device's GL context (and, on Windows, the
/// window's DC held for the device's lifetime).
struct Surface;

/// Whatever was current on this thread before a device took over.
struct CurrentContext {
    void* display = nullptr;
    std::uintptr_t drawable = 0;
    std::uintptr_t readDrawable = 0;  // where the binding reads from a drawable of its own
    void* context = nullptr;
};

/// Opens the drawable and creates a GL context for it; throws
/// Paintwell::Exception after a check message, leaving nothing behind.
Surface* openSurface(const NativeWindow& window);
/// Deletes the GL context (a failure is reported as a check message and
/// absorbed) and lets go of the drawable. Never throws.
void closeSurface(Surface* surface);

CurrentContext currentContext();
/// False when the driver refuses.
bool makeCurrent(Surface* surface);
/// Makes saved current again (nothing current when it names no context).
bool restoreContext(Surface* surface, const CurrentContext& saved);

/// An extension entry point of the current context, or null.
void* procAddress(const char* name);
/// Turns off any wait for the vertical retrace on swaps, where the binding
/// allows it. Needs the surface's context current.
void disableSwapWait(Surface* surface);
void clientSize(Surface* surface, int& width, int& height);
void swapBuffers(Surface* surface);

/// The debugger output (Windows) or stderr.
void writeDebugText(const char* text);
/// The one message the user may see: a driver without multitexturing.
void showDriverMessage(const char* caption, const char* text);

/// How text is drawn: per-channel LCD passes or grey coverage, and the
/// screen's sub-pixel order. Read from the desktop's settings; previous is
/// kept where those settings leave a flag undecided.
struct TextMode {
    bool subpixel = false;
    bool rgb = false;
};
TextMode desktopTextMode(Surface* surface, TextMode previous);

}  // namespace Paintwell::platform
