#include "gui/plug_knob_base.h"

#include "gui/container.h"
#include "gui/context_menu.h"
#include "gui/cursor.h"
#include "gui/edit_gesture.h"
#include "gui/plug_data.h"

namespace Wispkit {

namespace {
// Pixels of vertical travel for the whole range, normally and in fine mode.
constexpr float kDragRange = 400.0f;
constexpr float kFineDragRange = 4000.0f;
// Wheel notches per whole range, normally and in fine mode.
constexpr float kWheelSteps = 20.0f;
constexpr float kFineWheelSteps = 200.0f;

bool fineMode(int keys) { return (keys & (kShiftKey | kControlKey)) != 0; }
}  // namespace

PlugKnobBase::PlugKnobBase(Container* parent, IPlugData* plugData, const char* name, unsigned index, int x, int y,
                           unsigned width, unsigned height)
    : HoverControl(parent, x, y, width, height), plugData(plugData), name(name), index(index) {}

PlugKnobBase::~PlugKnobBase() {
    if (dragging) plugData->setEditing(index, false);
}

bool PlugKnobBase::mouseMove(int x, int y, int keys) {
    if (dragging) {
        const int d = lastY - y;
        lastY = y;
        if (d != 0) {
            dragValue = clampValue(dragValue + static_cast<float>(d) / (fineMode(keys) ? kFineDragRange : kDragRange));
            plugData->setValue(index, dragValue);
        }
        setCursor(this, CursorShape::VerticalResize);
        return true;
    }
    HoverControl::mouseMove(x, y, keys);
    setCursor(this, CursorShape::Hand);
    return true;
}

void PlugKnobBase::mouseLeave() {
    if (hover) HoverControl::mouseLeave();
}

bool PlugKnobBase::mouseDown(int x, int y, int button, int keys) {
    if (plugData->isLearning(index)) plugData->cancelLearn();
    if (button == kLeftButton) {
        lastY = y;
        dragValue = plugData->getValue(index, nullptr);
        plugData->setEditing(index, true);
        dragging = true;
        if (parent != nullptr) parent->captureMouse(this);
        redraw();
    } else if (button == kRightButton) {
        if (dragging) {
            // The centre value, and the capture's end closes the gesture.
            plugData->setValue(index, 0.5f);
            if (parent != nullptr) parent->captureMouse(nullptr);
        } else {
            showParameterMenu(this, plugData, index, 0, static_cast<int>(height) - 12);
        }
    }
    return true;
}

bool PlugKnobBase::mouseUp(int x, int y, int button, int keys) {
    if (button == kLeftButton && dragging && parent != nullptr) parent->captureMouse(nullptr);
    return true;
}

void PlugKnobBase::captureLost() {
    if (!dragging) return;
    plugData->setEditing(index, false);
    dragging = false;
    redraw();
}

bool PlugKnobBase::doubleClick(int x, int y, int button, int keys) {
    if (button != kLeftButton) return true;
    if (plugData->isLearning(index)) plugData->cancelLearn();
    resetGesture(plugData, index);
    return true;
}

bool PlugKnobBase::mouseWheel(int x, int y, float delta, int keys) {
    const float step = delta / (fineMode(keys) ? kFineWheelSteps : kWheelSteps);
    if (dragging) {
        dragValue = clampValue(dragValue + step);
        plugData->setValue(index, dragValue);
    } else {
        valueGesture(plugData, index, clampValue(plugData->getValue(index, nullptr) + step));
    }
    return true;
}

void PlugKnobBase::menuCommand(unsigned id) {
    parameterMenuCommand(plugData, index, id);
    redraw();
}

}  // namespace Wispkit
