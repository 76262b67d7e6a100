#include "demo_pump.h"

#include <windows.h>

namespace WispkitDemo {

// Windows delivers the wrapper's input, timer and paints as messages of
// this thread's queue.
void pumpSystem()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Wakes early for input, so the window answers at once.
void pause(int ms)
{
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(ms), QS_ALLINPUT);
}

}  // namespace WispkitDemo
