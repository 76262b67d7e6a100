#include "demo_pump.h"

#include <windows.h>

namespace WispkitDemo {

// The wrapper's window procedure runs from here; its idle call does nothing.
void pumpSystem() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void pause(int ms) { Sleep(static_cast<DWORD>(ms)); }

}  // namespace WispkitDemo
