#include "gui/plug_switch.h"

#include "gui/caption_line.h"
#include "gui/container.h"
#include "gui/context_menu.h"
#include "gui/edit_gesture.h"
#include "gui/plug_data.h"
#include "render/font.h"

namespace Wispkit {

PlugSwitch::PlugSwitch(Container* parent, IPlugData* plugData, const char* name, unsigned index, int x)
    : HoverControl(parent, x, kRow, kWidth, kHeight), plugData(plugData), name(name), index(index) {}

bool PlugSwitch::mouseDown(int x, int y, int button, int keys) {
    if (plugData->isLearning(index)) plugData->cancelLearn();
    if (button == kLeftButton) {
        const float v = plugData->getValue(index, nullptr);
        valueGesture(plugData, index, v > 0.5f ? 0.0f : 1.0f);
        redraw();
    } else if (button == kRightButton) {
        showParameterMenu(this, plugData, index, 0,
                          inlineLabel ? static_cast<int>(height) + 1 : static_cast<int>(height) - 11);
    }
    return true;
}

void PlugSwitch::menuCommand(unsigned id) {
    parameterMenuCommand(plugData, index, id);
    redraw();
}

void PlugSwitch::draw(Paintwell::Context* context) {
    if (inlineLabel) drawCaptionLine(context, this, plugData, name, index, hover);
    else
        drawTwoLines(context);
}

void PlugSwitch::drawTwoLines(Paintwell::Context* context) {
    char text[32] = {};
    plugData->getValue(index, text);
    const char* value = plugData->isLearning(index) ? "..learning.." : text;
    const float cx = static_cast<float>(absoluteX(this)) + static_cast<float>(width) * 0.5f;
    const auto base = static_cast<float>(absoluteY(this) + static_cast<int>(height) - 2);
    const Paintwell::Font* small = plugData->getFont(0);
    Paintwell::drawText(small, context, value, -1, cx - Paintwell::measureText(small, value, -1) * 0.5f, base,
                        0xFFFFFFFFu, false);
    const bool menuOpen = parent != nullptr && parent->isMenuOpenFor(this);
    const Paintwell::Font* font = plugData->getFont(menuOpen ? 1 : 0);
    Paintwell::drawText(font, context, name, -1, cx - Paintwell::measureText(font, name, -1) * 0.5f, base - 13,
                        plugData->getColour(), hover && !menuOpen);
}

}  // namespace Wispkit
