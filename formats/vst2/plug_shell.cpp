#include "formats/vst2/plug_shell.h"

#include <cstdio>
#include <cstring>

#include "formats/vst2/platform/mouse_wheel.h"

namespace Vst2 {

std::int32_t hashName(const char* name) {
    std::uint32_t h = 5381;
    for (const unsigned char* b = reinterpret_cast<const unsigned char*>(name); *b; ++b) h = h * 33 + *b;
    return static_cast<std::int32_t>(h);
}

PlugShell::PlugShell(vst::audioMasterCallback audioMaster, PlugFactory make)
    : AudioEffectX(audioMaster, 0, 0), effect(make(this)) {
    if (!effect) return;
    numPrograms = cEffect.numPrograms = effect->programCount();
    numParams = cEffect.numParams = static_cast<vst::int32>(effect->parameters().size());
    setUniqueID(hashName(effect->effectName()));
    addFlags(vst::effFlagsCanReplacing | vst::effFlagsProgramChunks | vst::effFlagsCanDoubleReplacing);
    setNumInputs(2 * effect->inputPairCount());
    setNumOutputs(2 * effect->outputPairCount());
    setEditor(effect->getEditor());
}

// The effect's editor goes with the effect, so the record stops pointing at it first.
PlugShell::~PlugShell() { setEditor(nullptr); }

void PlugShell::resume() {
    effect->resume();
    setInitialDelay(effect->getLatency());
}

void PlugShell::processReplacing(float** inputs, float** outputs, vst::int32 frames) {
    effect->processReplacing(inputs, outputs, frames);
}

void PlugShell::processDoubleReplacing(double** inputs, double** outputs, vst::int32 frames) {
    effect->processDoubleReplacing(inputs, outputs, frames);
}

void PlugShell::process(float** inputs, float** outputs, vst::int32 frames) {
    effect->process(inputs, outputs, frames);
}

vst::int32 PlugShell::setChunk(void* data, vst::int32 byteSize, bool isPreset) {
    effect->setChunk(data, byteSize, isPreset);
    return 0;
}

bool PlugShell::processEvents(vst::VstEvents* list) {
    events = EventList(list);
    effect->processEvents(&events);
    return true;
}

// The flags the time query asks for: tempo, position and whether the transport runs.
bool PlugShell::getTime(PlugCore::HostTime& time) {
    constexpr vst::int32 filter = vst::kVstTempoValid | vst::kVstPpqPosValid | vst::kVstTransportPlaying;
    auto* info = reinterpret_cast<const vst::VstTimeInfo*>(callHost(vst::audioMasterGetTime, 0, filter));
    if (!info) return false;
    time.tempoValid = info->flags & vst::kVstTempoValid;
    time.tempo = info->tempo;
    time.playing = info->flags & vst::kVstTransportPlaying;
    time.positionValid = info->flags & vst::kVstPpqPosValid;
    time.ppqPosition = info->ppqPos;
    return true;
}

// ---- identity ------------------------------------------------------------------

bool PlugShell::getEffectName(char* text) {
    std::snprintf(text, vst::kVstMaxEffectNameLen, "%s", effect->effectName());
    return true;
}

bool PlugShell::getVendorString(char* text) {
    std::snprintf(text, vst::kVstMaxVendorStrLen, "%s", PlugCore::kVendor);
    return true;
}

bool PlugShell::getProductString(char* text) {
    effect->getProductString(text, vst::kVstMaxProductStrLen);
    return true;
}

vst::int32 PlugShell::canDo(char* text) {
    static const char* const supported[] = {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstTimeInfo"};
    for (const char* s : supported)
        if (std::strcmp(text, s) == 0) return 1;
    return 0;
}

vst::VstIntPtr PlugShell::vendorSpecific(vst::int32 index, vst::VstIntPtr value, void*, float opt) {
    if (index == vst::fourCC('s', 't', 'C', 'A') && value == vst::fourCC('W', 'h', 'e', 'e'))
        return platform::forwardMouseWheel(opt) ? 1 : 0;
    return 0;
}

bool PlugShell::getPinProperties(vst::int32 index, const char* pairName, vst::int32 pairs, vst::VstPinProperties* p) {
    // Integer division would put index -1 into pair 0, so negatives are refused first.
    if (index < 0 || index / 2 >= pairs) return false;
    std::snprintf(p->label, sizeof p->label, "%s %s", pairName, (index % 2 == 0) ? "L" : "R");
    p->flags = vst::kVstPinIsActive | vst::kVstPinIsStereo;
    return true;
}

bool PlugShell::getInputProperties(vst::int32 index, vst::VstPinProperties* p) {
    return getPinProperties(index, effect->getInputPairName(index / 2), effect->inputPairCount(), p);
}

bool PlugShell::getOutputProperties(vst::int32 index, vst::VstPinProperties* p) {
    return getPinProperties(index, effect->getOutputPairName(index / 2), effect->outputPairCount(), p);
}

}  // namespace Vst2
