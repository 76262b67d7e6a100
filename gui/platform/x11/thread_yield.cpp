#include "gui/platform/thread_yield.h"

#include <sched.h>

namespace Wispkit::platform {

void yieldThread() { sched_yield(); }

}  // namespace Wispkit::platform
