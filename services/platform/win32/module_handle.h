// The module's instance handle, kept by DllMain at process attach. Set once
// before anything else runs; read from any thread.
#pragma once

#include <windows.h>

namespace Services::platform {

HINSTANCE moduleHandle();
void setModuleHandle(HINSTANCE instance);

}  // namespace Services::platform
