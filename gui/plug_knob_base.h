// A parameter control turned by dragging: vertical travel, the wheel, a
// double click back to the default, a right click for the context menu (or,
// during a drag, for the centre value). Derived classes draw it and may
// narrow its hit area.
//
// Threads: the editor window's thread. Ownership: the parent owns the knob;
// the caption and plugData are not owned.
#pragma once

#include "gui/hover_control.h"

namespace Wispkit {

class IPlugData;

class PlugKnobBase : public HoverControl {
public:
    PlugKnobBase(Container* parent, IPlugData* plugData, const char* name, unsigned index, int x, int y, unsigned width,
                 unsigned height);
    /// Ends a running gesture.
    ~PlugKnobBase() override;

    bool mouseMove(int x, int y, int keys) override;
    /// Redraws only when the knob was hovered.
    void mouseLeave() override;
    bool mouseDown(int x, int y, int button, int keys) override;
    bool mouseUp(int x, int y, int button, int keys) override;
    bool doubleClick(int x, int y, int button, int keys) override;
    bool mouseWheel(int x, int y, float delta, int keys) override;
    void captureLost() override;
    void menuCommand(unsigned id) override;

    void draw(Paintwell::Context* context) override = 0;

    unsigned getIndex() const { return index; }
    const char* getName() const { return name; }
    bool isDragging() const { return dragging; }

protected:
    IPlugData* plugData;
    const char* name;
    unsigned index;
    bool dragging = false;
    int lastY = 0;
    float dragValue = 0;
};

}  // namespace Wispkit
