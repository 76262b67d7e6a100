#include <windows.h>

#include "services/platform/win32/module_handle.h"
#include "formats/vst2/entry.h"

// Some older hosts look for MAIN.
extern "C" TALLOW_EXPORT vst::AEffect* MAIN(vst::audioMasterCallback audioMaster) { return VSTPluginMain(audioMaster); }

// The instance handle finds the module's resources and its own windows.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) Services::platform::setModuleHandle(instance);
    return TRUE;
}
