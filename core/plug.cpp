#include "core/plug.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace PlugCore {

Plug::Plug(HostLink* host, int32 numPrograms, int32 numParams, const char* name, int32 inputPairs, int32 outputPairs)
    : host(host),
      name(name),
      inputPairs(inputPairs),
      outputPairs(outputPairs),
      numPrograms(numPrograms),
      params(static_cast<std::uint32_t>(numParams)),
      programs(std::make_unique<Program[]>(static_cast<std::size_t>(numPrograms))) {
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

Plug::~Plug() { delete editor; }

void* Plug::operator new(std::size_t size) { return ::operator new (size, std::align_val_t{16}); }

void* Plug::operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return ::operator new (size, std::align_val_t{16}, std::nothrow);
}

void Plug::operator delete(void* memory) noexcept { ::operator delete (memory, std::align_val_t{16}); }

void Plug::operator delete(void* memory, const std::nothrow_t&) noexcept { operator delete(memory); }

void Plug::setEditor(Editor* newEditor) {
    delete editor;
    editor = newEditor;
}

// ---- identity ------------------------------------------------------------------

const char* Plug::getInputPairName(int32) { return "Main"; }
const char* Plug::getOutputPairName(int32) { return "Main"; }

void Plug::getProductString(char* text, std::size_t size) const { std::snprintf(text, size, "%s %s", kVendor, name); }

// ---- parameters ------------------------------------------------------------------

void Plug::setParameter(int32 index, float value) {
    if (index >= 0) params.set(static_cast<std::uint32_t>(index), value);
}

void Plug::setParameterAutomated(int32 index, float value) {
    setParameter(index, value);
    if (hostInformed && host) host->automate(index, value);
}

float Plug::getParameter(int32 index) const {
    return index >= 0 ? params.get(static_cast<std::uint32_t>(index)) : 0.0f;
}

void Plug::beginEdit(int32 index) {
    if (host) host->beginEdit(index);
}

void Plug::endEdit(int32 index) {
    if (host) host->endEdit(index);
}

void Plug::getParameterName(int32 index, char* text) const {
    const char* s = (index >= 0 && static_cast<std::uint32_t>(index) < params.size()) ? params[index].name : nullptr;
    std::strcpy(text, s ? s : "**");
}

void Plug::getParameterLabel(int32 index, char* text) const {
    const char* s = (index >= 0 && static_cast<std::uint32_t>(index) < params.size()) ? params[index].label : nullptr;
    std::strcpy(text, s ? s : "");
}

void Plug::getParameterDisplay(int32 index, char* text) {
    if (index >= 0 && static_cast<std::uint32_t>(index) < params.size())
        formatParameter(static_cast<std::uint32_t>(index), text, getParameter(index));
}

std::uint32_t Plug::parameterChoice(std::uint32_t index, float value) const {
    const std::uint32_t n = parameterChoices(index);
    if (n < 2 || !(value > 0.0f)) return 0;
    if (value >= 1.0f) return n - 1;
    return static_cast<std::uint32_t>(std::lround(value * static_cast<float>(n - 1)));
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

void Plug::setProgramName(const char* text) {
    // At most 24 bytes are read; a shorter text is padded with zeros.
    char* dest = programs[curProgram].name;
    std::size_t length = strnlen(text, Program::kNameSize);
    std::memset(dest, 0, Program::kNameSize);
    std::memcpy(dest, text, length);
    dest[Program::kNameSize - 1] = 0;
}

void Plug::getProgramName(char* text) const { std::strcpy(text, programs[curProgram].name); }

bool Plug::getProgramNameIndexed(int32, int32 index, char* text) const {
    if (index < 0 || index >= numPrograms) return false;
    std::strcpy(text, programs[index].name);
    return true;
}

}  // namespace PlugCore
