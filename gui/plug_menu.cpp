#include "gui/plug_menu.h"

#include "gui/caption_line.h"
#include "gui/container.h"
#include "gui/context_menu.h"
#include "gui/edit_gesture.h"
#include "gui/menu.h"
#include "gui/plug_data.h"

#include <algorithm>

namespace Wispkit {

PlugMenu::PlugMenu(Container* parent, IPlugData* plugData, const char* name, unsigned index, unsigned choices, int x,
                   int y, unsigned width, unsigned height)
    : HoverControl(parent, x, y, width, height), plugData(plugData), name(name), index(index), choices(choices) {}

void PlugMenu::choose(unsigned c) { valueGesture(plugData, index, choiceValue(c, choices)); }

bool PlugMenu::mouseDown(int x, int y, int button, int keys) {
    if (plugData->isLearning(index)) plugData->cancelLearn();
    if (button != kLeftButton && button != kRightButton) return true;
    Menu* menu = parent != nullptr ? parent->createMenu(this) : nullptr;
    if (menu == nullptr) return true;
    for (unsigned i = 0; i < choices; ++i) {
        char text[32] = {};
        plugData->getChoiceText(index, i, choices, text);
        menu->addItem(text, kFirstChoiceItem + i, true);
    }
    menu->addSeparator();
    addParameterItems(menu, plugData, index);
    menu->show(0, static_cast<int>(height) + 1, Menu::kAlignLeft);
    delete menu;
    return true;
}

bool PlugMenu::mouseWheel(int x, int y, float delta, int keys) {
    if (choices == 0) return true;
    const float v = plugData->getValue(index, nullptr);
    const float last = static_cast<float>(choices - 1);
    const auto current = static_cast<unsigned>(std::min(last, static_cast<float>(choices) * v));
    if (delta < -0.5f) choose(std::min(current + 1, choices - 1));
    else if (delta > 0.5f)
        choose(current > 0 ? current - 1 : 0);
    return true;
}

void PlugMenu::menuCommand(unsigned id) {
    if (id >= kFirstChoiceItem) {
        if (id - kFirstChoiceItem < choices) choose(id - kFirstChoiceItem);
    } else {
        parameterMenuCommand(plugData, index, id);
    }
    redraw();
}

void PlugMenu::draw(Paintwell::Context* context) { drawCaptionLine(context, this, plugData, name, index, hover); }

}  // namespace Wispkit
