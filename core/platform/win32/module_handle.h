// The module's instance handle, kept by DllMain at process attach.
#pragma once

#include <windows.h>

namespace PlugCore::platform {

HINSTANCE moduleHandle();
void setModuleHandle(HINSTANCE instance);

}  // namespace PlugCore::platform
