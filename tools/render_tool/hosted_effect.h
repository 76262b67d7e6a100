// One effect loaded from a module file and driven the way a host drives it.
// The host callback answers the version query and the time query, with a
// transport that plays at 120 BPM and advances with every rendered block,
// and ignores everything else.
//
// Threads: the tool's main thread only; the callback's transport is global
// to the process, so only one HostedEffect may render at a time. Ownership:
// the HostedEffect closes its effect before it unmaps the module.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "formats/vst2/aeffect.h"
#include "tools/host_kit/module_library.h"

namespace RenderTool {

/// The transport the host callback reports. Reset when rendering starts.
struct HostTransport {
    double sampleRate = 44100.0;
    double tempo = 120.0;
    double samplePosition = 0;

    void start(double rate);
    void advance(std::size_t frames) { samplePosition += static_cast<double>(frames); }
};

HostTransport& hostTransport();

/// What the module asked of the host that a renderer only notes: automation
/// reports and display refreshes. Cleared when rendering starts.
struct HostCallCounts {
    std::size_t automate = 0;
    std::size_t updateDisplay = 0;
};
HostCallCounts& hostCallCounts();

vst::VstIntPtr hostCallback(vst::AEffect* effect, vst::int32 opcode, vst::int32 index, vst::VstIntPtr value, void* ptr,
                            float opt);

class HostedEffect {
public:
    /// Maps the module and calls its entry; null with a reason on failure.
    static std::unique_ptr<HostedEffect> load(const std::string& path, std::string& error);
    ~HostedEffect();
    HostedEffect(const HostedEffect&) = delete;
    HostedEffect& operator=(const HostedEffect&) = delete;

    vst::AEffect* record() const { return effect; }
    vst::VstIntPtr dispatch(vst::int32 opcode, vst::int32 index = 0, vst::VstIntPtr value = 0, void* ptr = nullptr,
                            float opt = 0.0f) const;
    /// A text opcode's answer into a generous buffer, always terminated.
    std::string text(vst::int32 opcode, vst::int32 index = 0) const;
    std::vector<std::string> parameterNames() const;

private:
    HostedEffect(std::unique_ptr<HostKit::ModuleLibrary> library, vst::AEffect* effect);

    std::unique_ptr<HostKit::ModuleLibrary> library;
    vst::AEffect* effect;
};

}  // namespace RenderTool
