#include "core/parameter_table.h"

#include <cmath>

namespace PlugCore {

namespace {
constexpr auto relaxed = std::memory_order_relaxed;
}

float stepValue(std::int32_t q) {
    float v = static_cast<float>(q) * kParameterStep;
    if (v < 0.0f) return 0.0f;
    if (v > 1.0f) return 1.0f;
    return v;
}

std::int32_t quantiseStep(float v) {
    if (!(v > 0.0f)) return 0;  // NaN and everything at or below zero
    if (v >= 1.0f) return kParameterSteps;
    float x = v * 64001.0f;
    if (x > 64000.0f) x = 64000.0f;
    auto q = static_cast<std::int32_t>(x);
    // The single-precision product can round up across an integer for the
    // upper steps (63589 and above), which would move a stored value one
    // step up on every round trip. A value that is exactly a stored step
    // keeps that step.
    if (stepValue(q) != v && q > 0 && stepValue(q - 1) == v) --q;
    return q;
}

float quantise(float v) { return stepValue(quantiseStep(v)); }

ParameterTable::ParameterTable(std::uint32_t count)
    : entries_(std::make_unique<ParameterEntry[]>(count)),
      definedDefaults_(std::make_unique<float[]>(count)),
      count_(count) {}

void ParameterTable::defineParameter(std::uint32_t index, const char* name, const char* label, float defaultValue) {
    if (index >= count_) return;
    ParameterEntry& e = entries_[index];
    e.name = name;
    e.label = label;
    e.defaultValue.store(defaultValue, relaxed);
    definedDefaults_[index] = defaultValue;
    e.flags = 0;
    e.value.store(quantise(defaultValue), relaxed);
}

void ParameterTable::set(std::uint32_t index, float v) {
    if (index < count_) entries_[index].value.store(quantise(v), relaxed);
}

float ParameterTable::get(std::uint32_t index) const {
    return index < count_ ? entries_[index].value.load(relaxed) : 0.0f;
}

float ParameterTable::definedDefault(std::uint32_t index) const {
    return index < count_ ? definedDefaults_[index] : 0.0f;
}

bool ParameterTable::scanForAudio(IParamCook& cook) {
    bool changed = changed_.exchange(false, relaxed);
    for (std::uint32_t i = 0; i < count_; ++i) {
        ParameterEntry& e = entries_[i];
        float v = e.value.load(relaxed);
        if (v != e.audioSeen.load(relaxed)) {
            e.audioSeen.store(v, relaxed);
            changed = cook.cookParameter(i) || changed;
        }
    }
    return changed;
}

void ParameterTable::syncToEditor(IParamNotify* notify) {
    if (!notify) return;
    for (std::uint32_t i = 0; i < count_; ++i) {
        ParameterEntry& e = entries_[i];
        float v = e.value.load(relaxed);
        if (v != e.editorSeen.load(relaxed) && notify->parameterChanged(i, v)) e.editorSeen.store(v, relaxed);
    }
}

void ParameterTable::takeDefaults() {
    for (std::uint32_t i = 0; i < count_; ++i)
        entries_[i].defaultValue.store(std::fabs(entries_[i].value.load(relaxed)), relaxed);
}

void ParameterTable::assignController(std::uint32_t index, std::int32_t key) {
    for (std::uint32_t i = 0; i < count_; ++i)
        if (entries_[i].controllerKey.load(relaxed) == key) entries_[i].controllerKey.store(-1, relaxed);
    if (index < count_) entries_[index].controllerKey.store(key, relaxed);
}

void ParameterTable::invalidateAudioSeen() {
    for (std::uint32_t i = 0; i < count_; ++i) entries_[i].audioSeen.store(-1.0f, relaxed);
}

}  // namespace PlugCore
