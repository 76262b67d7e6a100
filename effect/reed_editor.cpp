#include "effect/reed_editor.h"

#include "effect/reed_parameters.h"
#include "gui/plug_frame.h"
#include "gui/plug_knob.h"
#include "gui/plug_menu.h"
#include "gui/plug_switch.h"

namespace ReedEditor {

namespace {

struct KnobRow {
    unsigned index;
    int x;
    int y;
    const char* caption;
};

// "phase" stands before "spread" on the panel although its index is higher;
// the last knob sits 78 pixels after the fifth instead of 74.
const KnobRow kKnobs[] = {
    {ReedParams::kDelay, 18, 4, "delay"},    {ReedParams::kRate, 92, 4, "rate"},
    {ReedParams::kDepth, 166, 4, "depth"},   {ReedParams::kPhase, 240, 4, "phase"},
    {ReedParams::kSpread, 314, 4, "spread"}, {ReedParams::kWet, 392, 4, "wet mix"},
};

}  // namespace

Wispkit::EditorDescriptor descriptor() {
    return Wispkit::EditorDescriptor{480, 110, 0, ReedParams::kCount, 0xE1804Fu, "texture"};
}

void build(Wispkit::PlugFrame* frame) {
    for (const KnobRow& row : kKnobs) new Wispkit::PlugKnob(frame, frame, row.caption, row.index, row.x, row.y);
    // The range button shares the switches' row and size.
    new Wispkit::PlugMenu(frame, frame, "range", ReedParams::kRange, ReedParams::choices(ReedParams::kRange), 58,
                          Wispkit::PlugSwitch::kRow, Wispkit::PlugSwitch::kWidth, Wispkit::PlugSwitch::kHeight);
    new Wispkit::PlugSwitch(frame, frame, "shape", ReedParams::kShape, 166);
    new Wispkit::PlugSwitch(frame, frame, "polarity", ReedParams::kInvert, 274);
}

}  // namespace ReedEditor
