// Small modules that misbehave in the ways tallow-render must survive. Which
// one is built is chosen by PROBE_KIND:
//   1  the entry returns no effect
//   2  the entry shows a message and asks a question through the executable's
//      prompt answerer, prints the answer and returns no effect
//   3  no entry point at all
#include <dlfcn.h>

#include <cstdio>

#include "formats/vst2/aeffect.h"

#if PROBE_KIND == 1
extern "C" __attribute__((visibility("default"))) vst::AEffect* VSTPluginMain(vst::audioMasterCallback) {
    return nullptr;
}
#elif PROBE_KIND == 2
extern "C" __attribute__((visibility("default"))) vst::AEffect* VSTPluginMain(vst::audioMasterCallback) {
    using Answerer = int (*)(int, const char*, const char*);
    auto ask = reinterpret_cast<Answerer>(dlsym(RTLD_DEFAULT, "tallowReedPromptAnswer"));
    if (!ask) {
        std::printf("probe: no answerer found\n");
        return nullptr;
    }
    ask(0, "Probe error", "Something went wrong");
    std::printf("probe: answer %d\n", ask(1, "Probe", "Load this?"));
    return nullptr;
}
#else
extern "C" __attribute__((visibility("default"))) int probeWithoutEntry() { return 0; }
#endif
