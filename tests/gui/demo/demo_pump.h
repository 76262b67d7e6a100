// What the demo's loop needs from the system besides the toolkit: handing
// out the window system's pending messages where the system (not the
// host's idle call) delivers them, and a short pause between rounds.
#pragma once

namespace WispkitDemo {

/// Delivers what the window system has queued for the program's windows.
void pumpSystem();
/// Waits about ms milliseconds.
void pause(int ms);

}  // namespace WispkitDemo
