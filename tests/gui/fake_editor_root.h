// Stand-ins for a window-less editor: a tree root that answers the upward
// requests (capture, menus, confirmations, redraws, the pointer shape) and a
// popup menu that records what was put into it.
#pragma once

#include "gui/container.h"
#include "gui/cursor.h"
#include "gui/menu.h"

#include <string>
#include <vector>

namespace GuiTest {

struct MenuItem {
    std::string text;  // "-" for a separator
    unsigned id;
    bool enabled;
};

struct ShownMenu {
    Wispkit::Control* owner = nullptr;
    std::vector<MenuItem> items;
    int x = 0, y = 0, align = 0;
    bool shown = false;
};

class FakeRoot;

class RecordingMenu : public Wispkit::Menu {
public:
    RecordingMenu(ShownMenu& record, Wispkit::Control* owner) : record(record) {
        record = ShownMenu{};
        record.owner = owner;
    }
    bool addItem(const char* text, unsigned id, bool enabled) override {
        record.items.push_back({text, id, enabled});
        return true;
    }
    bool addSeparator() override {
        record.items.push_back({"-", 0, false});
        return true;
    }
    bool show(int x, int y, int align) override {
        record.x = x;
        record.y = y;
        record.align = align;
        record.shown = true;
        return true;
    }

private:
    ShownMenu& record;
};

class FakeRoot : public Wispkit::Container, public Wispkit::ICursorOwner {
public:
    FakeRoot() : Container(nullptr, 0, 0, 480, 110) {}

    // Like the window wrapper: a new holder makes the old one lose the capture.
    void captureMouse(Wispkit::Control* control) override {
        captureCalls.push_back(control);
        if (captured != nullptr && captured != control) {
            Wispkit::Control* old = captured;
            captured = nullptr;
            old->captureLost();
        }
        captured = control;
    }
    bool hasMouseCapture(Wispkit::Control* control) override { return control == captured; }
    Wispkit::Menu* createMenu(Wispkit::Control* owner) override { return new RecordingMenu(lastMenu, owner); }
    bool isMenuOpenFor(Wispkit::Control* control) override { return menuOpenFor == control; }
    void confirm(const char* caption, const char* text, Wispkit::ConfirmedAction onOk) override {
        questions.push_back(std::string(caption) + "|" + text);
        if (answer) onOk();
    }
    void redraw() override { ++redraws; }
    void setCursor(Wispkit::CursorShape shape) override { cursors.push_back(shape); }

    Wispkit::Control* captured = nullptr;
    Wispkit::Control* menuOpenFor = nullptr;
    std::vector<Wispkit::Control*> captureCalls;
    ShownMenu lastMenu;
    std::vector<std::string> questions;
    bool answer = true;
    int redraws = 0;
    std::vector<Wispkit::CursorShape> cursors;
};

}  // namespace GuiTest
