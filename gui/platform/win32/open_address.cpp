#include "gui/platform/native_window.h"

#include <windows.h>
#include <shellapi.h>

namespace Wispkit::platform {

void openAddress(const char* address) {
    if (address == nullptr || *address == 0) return;
    ShellExecuteA(NULL, "open", address, NULL, NULL, SW_SHOWDEFAULT);
}

}  // namespace Wispkit::platform
