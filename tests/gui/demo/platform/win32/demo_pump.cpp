#include "demo_pump.h"
#include "win32_test_window.h"

namespace WispkitDemo {

// The wrapper's window procedure runs from here; its idle call does nothing.
void pumpSystem() { Win32Test::pumpPending(); }

void pause(int ms) { Sleep(static_cast<DWORD>(ms)); }

}  // namespace WispkitDemo
