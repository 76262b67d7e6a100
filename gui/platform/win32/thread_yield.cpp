#include "gui/platform/thread_yield.h"

#include <windows.h>

namespace Wispkit::platform {

void yieldThread() { Sleep(0); }

}  // namespace Wispkit::platform
