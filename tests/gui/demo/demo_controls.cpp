#include "demo_controls.h"

#include "gui/menu.h"
#include "render/context.h"
#include "render/shader.h"

#include <memory>

namespace WispkitDemo {

std::vector<Event> Log::of(const std::string& what) const {
    std::vector<Event> found;
    for (const Event& e : events)
        if (e.what == what) found.push_back(e);
    return found;
}

int Log::count(const std::string& what) const { return static_cast<int>(of(what).size()); }

Pad::Pad(Wispkit::Container* parent, const char* name, int x, int y, unsigned w, unsigned h, std::uint32_t colour,
         Log* log)
    : Control(parent, x, y, w, h), colour(colour), name(name), log(log) {}

void Pad::record(const char* what, int x, int y, int button, float delta, int keys, unsigned id) {
    log->events.push_back(Event{name, what, x, y, button, delta, keys, id});
}

bool Pad::mouseMove(int x, int y, int keys) {
    record("move", x, y, 0, 0, keys);
    return true;
}

bool Pad::mouseDown(int x, int y, int button, int keys) {
    record("down", x, y, button, 0, keys);
    if (button == Wispkit::kLeftButton) parent->captureMouse(this);
    if (button == Wispkit::kRightButton && !parent->hasMouseCapture(this)) openMenu(0, static_cast<int>(height), -1);
    return true;
}

bool Pad::mouseUp(int x, int y, int button, int keys) {
    record("up", x, y, button, 0, keys);
    if (button == Wispkit::kLeftButton && parent->hasMouseCapture(this)) parent->captureMouse(nullptr);
    return true;
}

bool Pad::doubleClick(int x, int y, int button, int keys) {
    record("double", x, y, button, 0, keys);
    return true;
}

bool Pad::mouseWheel(int x, int y, float delta, int keys) {
    record("wheel", x, y, 0, delta, keys);
    return true;
}

void Pad::mouseLeave() { record("leave", 0, 0); }

void Pad::captureLost() { record("lost", 0, 0); }

void Pad::menuCommand(unsigned id) {
    record("command", 0, 0, 0, 0, 0, id);
    if (id == kReset) colour ^= 0x00FFFFFFu;
    redraw();
}

void Pad::draw(Paintwell::Context* context) {
    ++log->draws;
    float left = static_cast<float>(Wispkit::absoluteX(parent) + x);
    float top = static_cast<float>(Wispkit::absoluteY(parent) + y);
    Paintwell::Shader plain(context, Paintwell::BlendNone, Paintwell::CombineColor);
    context->drawQuad(
        Paintwell::makeQuad(left, top, static_cast<float>(width), static_cast<float>(height), 0, 0, colour));
}

bool Pad::openMenu(int x, int y, int align) {
    std::unique_ptr<Wispkit::Menu> menu(parent->createMenu(this));
    if (!menu) return false;
    menu->addItem("&Reset colour", kReset, true);
    menu->addItem("&Learn", kLearn, true);
    menu->addSeparator();
    menu->addItem("&Unlearn (never chosen)", kUnlearn, false);
    menu->addItem("Visit the &web site", kWeb, true);
    return menu->show(x, y, align);
}

void buildDemo(Wispkit::Container* root, Log* log) {
    new Pad(root, "left", 20, 20, 140, 100, 0xFF3070C0, log);
    new Pad(root, "right", 200, 20, 140, 100, 0xFFC05030, log);
}

}  // namespace WispkitDemo
