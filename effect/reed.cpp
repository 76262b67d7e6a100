#include "effect/reed.h"

#include "effect/reed_parameters.h"

Reed::Reed(vst::audioMasterCallback audioMaster)
    : PlugCore::Plug(audioMaster, kPrograms, ReedParams::kCount, kName, 1, 1) {
    defineParameters();
}

Reed::~Reed() = default;

void Reed::defineParameters() {
    for (const auto& d : ReedParams::kDefinitions) params.defineParameter(d.index, d.name, d.label, d.defaultValue);
}

void Reed::formatParameter(std::uint32_t index, char* text, float value) {
    ReedParams::format(index, text, value, params.get(ReedParams::kRange));
}

void Reed::prepareProcessing() {}

void Reed::resetProcessing() {}

bool Reed::renderBlock(bool, const PlugCore::Transport*, double** inputs, double** outputs, std::uint32_t frames) {
    for (std::uint32_t i = 0; i < frames; ++i) {
        for (int c = 0; c < 2; ++c) {
            const double in = inputs[c][i];
            outputs[c][i] = history[c][historyIndex];
            history[c][historyIndex] = in;
        }
        historyIndex = (historyIndex + 1) % kLatency;
    }
    return true;
}
