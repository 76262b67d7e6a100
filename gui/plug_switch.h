// A two-state parameter control, 80 x 12 on the panel's lower row: a left
// click flips the value between 0 and 1, a right click opens the context
// menu. It shows "name: value" in one line (inlineLabel), or the value under
// the name.
//
// Threads: the editor window's thread. Ownership: the parent owns the switch.
#pragma once

#include "gui/hover_control.h"

namespace Wispkit {

class IPlugData;

class PlugSwitch : public HoverControl {
public:
    static constexpr int kRow = 90;
    static constexpr unsigned kWidth = 80;
    static constexpr unsigned kHeight = 12;

    PlugSwitch(Container* parent, IPlugData* plugData, const char* name, unsigned index, int x);

    bool mouseDown(int x, int y, int button, int keys) override;
    void menuCommand(unsigned id) override;
    void draw(Paintwell::Context* context) override;

    unsigned getIndex() const { return index; }
    const char* getName() const { return name; }

private:
    void drawTwoLines(Paintwell::Context* context);

    IPlugData* plugData;
    const char* name;
    unsigned index;
    bool inlineLabel = true;
};

}  // namespace Wispkit
