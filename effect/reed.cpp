#include "effect/reed.h"

#include <new>

#include "effect/reed_editor.h"
#include "effect/reed_parameters.h"
#include "gui/plug_edit_vst.h"

PlugCore::Plug* PlugCore::createEffect(HostLink* host) { return new (std::nothrow) Reed(host); }

Reed::Reed(PlugCore::HostLink* host)
    : PlugCore::Plug(host, kPrograms, ReedParams::kCount, kName, 1, 1), editorDescriptor(ReedEditor::descriptor()) {
    // The editor registers itself with the effect, which owns it from here on.
    new Wispkit::PlugEditVST(this, this, &editorDescriptor);
    defineParameters();
    // The factory programs replace the defined values, and the user's defaults file
    // (if any) replaces those and becomes the reset target of every parameter.
    hostInformed = false;
    loadFactoryBank();
    loadDefaultsFile();
    hostInformed = true;
}

// The editor still reaches into the effect while it closes, so it goes first.
Reed::~Reed() { setEditor(nullptr); }

void Reed::build(Wispkit::PlugFrame* frame) { ReedEditor::build(frame); }

void Reed::defineParameters() {
    for (const auto& d : ReedParams::kDefinitions) params.defineParameter(d.index, d.name, d.label, d.defaultValue);
}

std::uint32_t Reed::parameterChoices(std::uint32_t index) const { return ReedParams::choices(index); }

std::uint32_t Reed::parameterChoice(std::uint32_t index, float value) const {
    return ReedParams::choiceOf(index, value);
}

void Reed::formatParameter(std::uint32_t index, char* text, float value) {
    ReedParams::format(index, text, value, params.get(ReedParams::kRange));
}

// The core prepares only when the rate or block size changed; a preparation
// that failed is tried again on every resume until it succeeds.
void Reed::resume() {
    if (preparationFailed) requestPreparation();
    PlugCore::Plug::resume();
}

void Reed::prepareProcessing() { preparationFailed = !processor.prepare(getSampleRate(), getBlockSize()); }

void Reed::resetProcessing() { processor.reset(); }

// The range is read from the entry's value, the rest from what the audio
// side last saw.
bool Reed::renderBlock(bool changed, const PlugCore::Transport*, double** inputs, double** outputs,
                       std::uint32_t frames) {
    const auto seen = [this](std::uint32_t i) { return params[i].audioSeen.load(std::memory_order_relaxed); };
    using namespace ReedParams;
    const ReedDsp::Settings settings{
        seen(kDelay),  seen(kRate),   seen(kDepth),
        seen(kSpread), seen(kPhase),  seen(kWet),
        seen(kShape),  seen(kInvert), params[kRange].value.load(std::memory_order_relaxed)};
    processor.render(changed, settings, inputs, outputs, frames);
    return true;
}
