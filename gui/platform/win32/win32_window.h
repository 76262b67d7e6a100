// What the Win32 files of the toolkit share: the wrapper's window record and
// the window class that every wrapper of this module is made from.
//
// Threads: the editor window's thread. Ownership: a Window belongs to its
// wrapper and goes with it (destroyWindow).
#pragma once

#include <windows.h>

namespace Wispkit::platform {

// The procedure finds the wrapper in the window's user data, which is
// cleared first when the window goes: the record keeps no pointer of its own.
struct Window {
    HWND hwnd;
};

/// The instance handle of the module this code lives in (the plug-in's DLL,
/// or a test program).
HINSTANCE moduleInstance();

/// The wrapper class's atom, registering the class first when no earlier
/// wrapper of this module managed to; 0 after telling the user it failed.
/// Call inside a ManifestScope.
ATOM wrapperClass();

/// The wrapper windows' procedure (win32_window.cpp).
LRESULT CALLBACK wrapperProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

/// Puts the module's own manifest (resource type 24, id 2: the version 6
/// common controls) into force for the calls made while it lives. Without
/// that resource it does nothing.
class ManifestScope {
public:
    ManifestScope();
    ~ManifestScope();
    ManifestScope(const ManifestScope&) = delete;
    ManifestScope& operator=(const ManifestScope&) = delete;

    bool active() const { return context != INVALID_HANDLE_VALUE; }

private:
    HANDLE context = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie = 0;
};

}  // namespace Wispkit::platform
