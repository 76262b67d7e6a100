#include "core/plug.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/platform/platform.h"

namespace PlugCore {

std::int32_t hashName(const char* name) {
    std::uint32_t h = 5381;
    for (const unsigned char* b = reinterpret_cast<const unsigned char*>(name); *b; ++b) h = h * 33 + *b;
    return static_cast<std::int32_t>(h);
}

Plug::Plug(vst::audioMasterCallback audioMaster, int32 numPrograms, int32 numParams, const char* name, int32 inputPairs,
           int32 outputPairs)
    : AudioEffectX(audioMaster, numPrograms, numParams),
      name(name),
      inputPairs(inputPairs),
      outputPairs(outputPairs),
      params(static_cast<std::uint32_t>(numParams)),
      programs(std::make_unique<Program[]>(static_cast<std::size_t>(numPrograms))) {
    setUniqueID(hashName(name));
    addFlags(vst::effFlagsCanReplacing | vst::effFlagsProgramChunks | vst::effFlagsCanDoubleReplacing);
    setNumInputs(2 * inputPairs);
    setNumOutputs(2 * outputPairs);
    for (int32 p = 0; p < numPrograms; ++p) {
        programs[p].values = std::make_unique<float[]>(static_cast<std::size_t>(numParams));
        for (int32 i = 0; i < numParams; ++i) programs[p].values[i] = params.get(static_cast<std::uint32_t>(i));
        std::snprintf(programs[p].name, Program::kNameSize, "Init %d", p + 1);
    }
    inputBuffers = std::make_unique<double*[]>(static_cast<std::size_t>(2 * inputPairs));
    outputBuffers = std::make_unique<double*[]>(static_cast<std::size_t>(2 * outputPairs));
    subInputs = std::make_unique<double*[]>(static_cast<std::size_t>(2 * inputPairs));
    subOutputs = std::make_unique<double*[]>(static_cast<std::size_t>(2 * outputPairs));
}

Plug::~Plug() = default;

// ---- identity ------------------------------------------------------------------

const char* Plug::getInputPairName(int32) { return "Main"; }
const char* Plug::getOutputPairName(int32) { return "Main"; }

bool Plug::getEffectName(char* text) {
    std::snprintf(text, vst::kVstMaxEffectNameLen, "%s", name);
    return true;
}

bool Plug::getVendorString(char* text) {
    std::snprintf(text, vst::kVstMaxVendorStrLen, "%s", kVendor);
    return true;
}

bool Plug::getProductString(char* text) {
    std::snprintf(text, vst::kVstMaxProductStrLen, "%s %s", kVendor, name);
    return true;
}

int32 Plug::canDo(char* text) {
    static const char* const supported[] = {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstTimeInfo"};
    for (const char* s : supported)
        if (std::strcmp(text, s) == 0) return 1;
    return 0;
}

VstIntPtr Plug::vendorSpecific(int32 index, VstIntPtr value, void*, float opt) {
    if (index == vst::fourCC('s', 't', 'C', 'A') && value == vst::fourCC('W', 'h', 'e', 'e'))
        return platform::forwardMouseWheel(opt) ? 1 : 0;
    return 0;
}

bool Plug::getPinProperties(int32 index, const char* pairName, int32 pairs, vst::VstPinProperties* p) {
    // Integer division would put index -1 into pair 0, so negatives are refused first.
    if (index < 0 || index / 2 >= pairs) return false;
    std::snprintf(p->label, sizeof p->label, "%s %s", pairName, (index % 2 == 0) ? "L" : "R");
    p->flags = vst::kVstPinIsActive | vst::kVstPinIsStereo;
    return true;
}

bool Plug::getInputProperties(int32 index, vst::VstPinProperties* p) {
    return getPinProperties(index, getInputPairName(index / 2), inputPairs, p);
}

bool Plug::getOutputProperties(int32 index, vst::VstPinProperties* p) {
    return getPinProperties(index, getOutputPairName(index / 2), outputPairs, p);
}

// ---- parameters ------------------------------------------------------------------

void Plug::setParameter(int32 index, float value) {
    if (index >= 0) params.set(static_cast<std::uint32_t>(index), value);
}

void Plug::setParameterAutomated(int32 index, float value) {
    if (hostInformed) AudioEffectX::setParameterAutomated(index, value);
    else
        setParameter(index, value);
}

float Plug::getParameter(int32 index) { return index >= 0 ? params.get(static_cast<std::uint32_t>(index)) : 0.0f; }

void Plug::getParameterName(int32 index, char* text) {
    const char* s = (index >= 0 && static_cast<std::uint32_t>(index) < params.size()) ? params[index].name : nullptr;
    std::strcpy(text, s ? s : "**");
}

void Plug::getParameterLabel(int32 index, char* text) {
    const char* s = (index >= 0 && static_cast<std::uint32_t>(index) < params.size()) ? params[index].label : nullptr;
    std::strcpy(text, s ? s : "");
}

void Plug::getParameterDisplay(int32 index, char* text) {
    if (index >= 0 && static_cast<std::uint32_t>(index) < params.size())
        formatParameter(static_cast<std::uint32_t>(index), text, getParameter(index));
}

void Plug::getParameterText(std::uint32_t index, float value, char* text) {
    if (index >= params.size()) return;
    formatParameter(index, text, value);
    const char* label = params[index].label ? params[index].label : "";
    std::size_t length = std::strlen(text);
    std::strcpy(text + length + 1, label);
    if (*label) text[length] = ' ';
}

// ---- programs --------------------------------------------------------------------

void Plug::storeProgram(int32 p) {
    for (std::uint32_t i = 0; i < params.size(); ++i) programs[p].values[i] = std::fabs(params.get(i));
}

void Plug::setProgram(int32 p) {
    if (p < 0 || p >= numPrograms) return;
    storeProgram(curProgram);
    for (std::uint32_t i = 0; i < params.size(); ++i)
        if (!(params[i].flags & ParameterTable::kGlobal)) params.set(i, programs[p].values[i]);
    curProgram = p;
    programChanged();
}

void Plug::setProgramName(char* text) {
    // At most 24 bytes are read; a shorter text is padded with zeros.
    char* dest = programs[curProgram].name;
    std::size_t length = strnlen(text, Program::kNameSize);
    std::memset(dest, 0, Program::kNameSize);
    std::memcpy(dest, text, length);
    dest[Program::kNameSize - 1] = 0;
}

void Plug::getProgramName(char* text) { std::strcpy(text, programs[curProgram].name); }

bool Plug::getProgramNameIndexed(int32, int32 index, char* text) {
    if (index < 0 || index >= numPrograms) return false;
    std::strcpy(text, programs[index].name);
    return true;
}

}  // namespace PlugCore
