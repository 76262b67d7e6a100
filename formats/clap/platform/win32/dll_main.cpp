// The module's instance handle, by which it finds its resources (the
// editor's images and font) and registers its own window class.
#include <windows.h>

#include "services/platform/win32/module_handle.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) Services::platform::setModuleHandle(instance);
    return TRUE;
}
