#include "demo_pump.h"

#include <chrono>
#include <thread>

namespace WispkitDemo {

// X11 has no queue of the program's own: the wrapper's idle call reads it.
void pumpSystem() {}

void pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace WispkitDemo
