// The round knob: an 80 x 80 body from the common-textures sheet, a pointer
// cross-faded between the 96 frames of the sheet's pointer strip, the caption
// above the value text. Only a circle of radius 32 around the centre hits.
//
// Threads: the editor window's thread. Ownership: as PlugKnobBase.
#pragma once

#include "gui/plug_knob_base.h"

namespace Wispkit {

class PlugKnob : public PlugKnobBase {
public:
    static constexpr unsigned kSize = 80;

    PlugKnob(Container* parent, IPlugData* plugData, const char* name, unsigned index, int x, int y);

    bool hitTest(int x, int y) override;
    void draw(Paintwell::Context* context) override;
};

}  // namespace Wispkit
