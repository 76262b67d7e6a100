// Hooks for the renderer's own tests and the test card: nothing in the
// plug-in installs them.
//
// Threads: the window's thread. Each hook stays until it is reset to null.
#pragma once

namespace Paintwell::testing {

/// Devices created while this is set read these extensions instead of the
/// driver's list (to exercise old drivers and the power-of-two fallback).
void setExtensionOverride(const char* extensions);
const char* extensionOverride();

/// Called by render after the scene has drawn and before the buffers swap,
/// with the device's context current and the frame's size: the place to
/// read the finished frame back with glReadPixels.
using FrameProbe = void (*)(void* user, int width, int height);
void setFrameProbe(FrameProbe probe, void* user);
void runFrameProbe(int width, int height);

}  // namespace Paintwell::testing
