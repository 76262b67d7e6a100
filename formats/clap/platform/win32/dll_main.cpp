#include <windows.h>

#include "services/platform/win32/module_handle.h"

// The instance handle finds the module's resources (the factory bank, the
// artwork) and its own windows.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) Services::platform::setModuleHandle(instance);
    return TRUE;
}
