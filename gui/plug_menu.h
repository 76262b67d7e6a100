// A parameter control that picks one of a few evenly spread values from a
// popup list (which also holds the context menu's items); the wheel steps
// to the next or previous choice.
//
// Threads: the editor window's thread. Ownership: the parent owns the button.
#pragma once

#include "gui/hover_control.h"

namespace Wispkit {

class IPlugData;

class PlugMenu : public HoverControl {
public:
    PlugMenu(Container* parent, IPlugData* plugData, const char* name, unsigned index, unsigned choices, int x, int y,
             unsigned width, unsigned height);

    bool mouseDown(int x, int y, int button, int keys) override;
    bool mouseWheel(int x, int y, float delta, int keys) override;
    void menuCommand(unsigned id) override;
    void draw(Paintwell::Context* context) override;

    unsigned getIndex() const { return index; }
    const char* getName() const { return name; }
    unsigned getChoices() const { return choices; }

private:
    void choose(unsigned c);

    IPlugData* plugData;
    const char* name;
    unsigned index;
    unsigned choices;
};

}  // namespace Wispkit
