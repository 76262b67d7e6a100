#include "gui/context_menu.h"

#include "gui/container.h"
#include "gui/edit_gesture.h"
#include "gui/menu.h"
#include "gui/plug_data.h"

#include <cstdio>

namespace Wispkit {

namespace {
constexpr int kMenuTextSize = 112;
constexpr int kValueTextSize = 32;
}  // namespace

void addParameterItems(Menu* menu, IPlugData* data, unsigned index) {
    char value[kValueTextSize] = {};
    char item[kMenuTextSize];
    data->getDefaultText(index, value);
    std::snprintf(item, sizeof item, "&Reset to default (%s)", value);
    menu->addItem(item, kResetItem, true);
    menu->addSeparator();
    menu->addItem("MIDI &Learn", kLearnItem, true);
    const int key = data->getMapping(index);
    if (key == -1) {
        menu->addItem("MIDI &Unlearn", kUnlearnItem, false);
        return;
    }
    std::snprintf(item, sizeof item, "MIDI &Unlearn (chan:%d, cc:%d)", ((key >> 8) & 15) + 1, key & 255);
    menu->addItem(item, kUnlearnItem, true);
}

void showParameterMenu(Control* owner, IPlugData* data, unsigned index, int x, int y) {
    Container* parent = owner->getParent();
    Menu* menu = parent != nullptr ? parent->createMenu(owner) : nullptr;
    if (menu == nullptr) return;
    addParameterItems(menu, data, index);
    menu->show(x, y, Menu::kAlignLeft);
    delete menu;
}

void parameterMenuCommand(IPlugData* data, unsigned index, unsigned id) {
    switch (id) {
    case kResetItem:
        if (data->isLearning(index)) data->cancelLearn();
        resetGesture(data, index);
        break;
    case kLearnItem: data->beginLearn(index); break;
    case kUnlearnItem: data->unlearn(index); break;
    default: break;
    }
}

}  // namespace Wispkit
