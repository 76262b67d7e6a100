// Watches the Xlib and GLX entry points the window layer and the renderer
// use (the program is linked with --wrap for each): a call from any thread
// but the one that armed the guard is counted.
#pragma once

namespace WispkitTest {

/// From now on, calls from threads other than this one are counted.
void armThreadGuard();
int callsFromOtherThreads();

}  // namespace WispkitTest
