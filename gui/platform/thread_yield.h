// Gives the rest of the thread's time slice away, for the editor's spin lock.
//
// Threads: any.
#pragma once

namespace Wispkit::platform {

void yieldThread();

}  // namespace Wispkit::platform
