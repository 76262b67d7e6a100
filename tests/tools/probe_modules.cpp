// Small modules that misbehave in the ways tallow-render must survive. Which
// one is built is chosen by PROBE_KIND:
//   1  the entry returns no effect
//   2  the entry asks the executable's prompt answerer a question, prints the
//      answer and returns no effect
//   3  no entry point at all
#include <dlfcn.h>

#include <cstdio>

#include "core/vst/aeffect.h"

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
    std::printf("probe: answer %d\n", ask(2, "Probe", "Load this?"));
    return nullptr;
}
#else
extern "C" __attribute__((visibility("default"))) int probeWithoutEntry() { return 0; }
#endif
