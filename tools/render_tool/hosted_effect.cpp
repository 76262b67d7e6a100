#include "tools/render_tool/hosted_effect.h"

#include <cmath>

namespace RenderTool {
namespace {

constexpr vst::VstIntPtr kHostVersion = 2400;

vst::VstTimeInfo timeInfo{};

vst::VstTimeInfo* fillTimeInfo() {
    const HostTransport& t = hostTransport();
    timeInfo = {};
    timeInfo.samplePos = t.samplePosition;
    timeInfo.sampleRate = t.sampleRate;
    timeInfo.tempo = t.tempo;
    timeInfo.ppqPos = t.samplePosition / t.sampleRate * t.tempo / 60.0;
    timeInfo.barStartPos = std::floor(timeInfo.ppqPos / 4.0) * 4.0;
    timeInfo.timeSigNumerator = 4;
    timeInfo.timeSigDenominator = 4;
    timeInfo.flags = vst::kVstTransportPlaying | vst::kVstPpqPosValid | vst::kVstTempoValid | vst::kVstBarsValid |
                     vst::kVstTimeSigValid;
    return &timeInfo;
}

}  // namespace

void HostTransport::start(double rate) {
    sampleRate = rate;
    samplePosition = 0;
}

HostCallCounts& hostCallCounts() {
    static HostCallCounts counts;
    return counts;
}

HostTransport& hostTransport() {
    static HostTransport transport;
    return transport;
}

vst::VstIntPtr hostCallback(vst::AEffect*, vst::int32 opcode, vst::int32, vst::VstIntPtr, void*, float) {
    switch (opcode) {
    case vst::audioMasterVersion: return kHostVersion;
    case vst::audioMasterGetTime: return reinterpret_cast<vst::VstIntPtr>(fillTimeInfo());
    case vst::audioMasterAutomate: ++hostCallCounts().automate; return 0;
    case vst::audioMasterUpdateDisplay: ++hostCallCounts().updateDisplay; return 0;
    default: return 0;
    }
}

std::unique_ptr<HostedEffect> HostedEffect::load(const std::string& path, std::string& error) {
    std::string reason;
    std::unique_ptr<HostKit::ModuleLibrary> library = HostKit::openModule(path, reason);
    if (!library) {
        error = "cannot load module " + path + ": " + reason;
        return nullptr;
    }
    HostKit::EntryFunction entry = library->entry();
    if (!entry) {
        error = path + " is not a VST 2 module: it exports neither VSTPluginMain nor main";
        return nullptr;
    }
    vst::AEffect* effect = entry(hostCallback);
    if (!effect) {
        error = "the module's entry returned no effect (" + path + ")";
        return nullptr;
    }
    if (effect->magic != vst::kEffectMagic || !effect->dispatcher) {
        // Without a valid record there is no safe way to close it: leak it rather than crash.
        error = path + " returned a record without the VST magic; it is not a VST 2 effect";
        (void)library.release();
        return nullptr;
    }
    return std::unique_ptr<HostedEffect>(new HostedEffect(std::move(library), effect));
}

HostedEffect::HostedEffect(std::unique_ptr<HostKit::ModuleLibrary> library, vst::AEffect* effect)
    : library(std::move(library)), effect(effect) {
    dispatch(vst::effOpen);
}

HostedEffect::~HostedEffect() { dispatch(vst::effClose); }

vst::VstIntPtr HostedEffect::dispatch(vst::int32 opcode, vst::int32 index, vst::VstIntPtr value, void* ptr,
                                      float opt) const {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

std::string HostedEffect::text(vst::int32 opcode, vst::int32 index) const {
    // Effects often write past the nominal 8 or 24 characters; leave room.
    char buffer[512] = {};
    dispatch(opcode, index, 0, buffer);
    buffer[sizeof buffer - 1] = 0;
    return buffer;
}

std::vector<std::string> HostedEffect::parameterNames() const {
    std::vector<std::string> names;
    for (vst::int32 i = 0; i < effect->numParams; ++i) names.push_back(text(vst::effGetParamName, i));
    return names;
}

}  // namespace RenderTool
