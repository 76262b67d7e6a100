#include "gui/spin_lock.h"

#include "gui/platform/thread_yield.h"

namespace Wispkit {

void SpinLock::lock() {
    while (!tryLock()) platform::yieldThread();
}

}  // namespace Wispkit
