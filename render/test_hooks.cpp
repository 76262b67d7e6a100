#include "render/test_hooks.h"

namespace Paintwell::testing {

namespace {
const char* extensions = nullptr;
FrameProbe frameProbe = nullptr;
void* frameProbeUser = nullptr;
}  // namespace

void setExtensionOverride(const char* newExtensions) { extensions = newExtensions; }

const char* extensionOverride() { return extensions; }

void setFrameProbe(FrameProbe probe, void* user) {
    frameProbe = probe;
    frameProbeUser = user;
}

void runFrameProbe(int width, int height) {
    if (frameProbe) frameProbe(frameProbeUser, width, height);
}

}  // namespace Paintwell::testing
