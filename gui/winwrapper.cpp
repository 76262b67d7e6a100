#include "gui/winwrapper.h"

#include "gui/frame_controller.h"
#include "gui/platform/native_window.h"
#include "render/device.h"
#include "render/exception.h"
#include "render/gl_device.h"

namespace Wispkit {

Winwrapper::Winwrapper(IFrameController* controller, int width, int height, void* parentWindow)
    : Container(nullptr, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height)), controller(controller) {
    window = platform::createWindow(this, width, height, parentWindow);
}

Winwrapper::~Winwrapper() {
    deleteChildren();
    if (timerTarget != nullptr && window != nullptr) platform::stopTimer(window);
    timerTarget = nullptr;
    if (device != nullptr) device->release();
    device = nullptr;
    if (window != nullptr) platform::destroyWindow(window);
    window = nullptr;
}

unsigned long long Winwrapper::nativeHandle() const { return window != nullptr ? platform::handleOf(window) : 0; }

void Winwrapper::setTimerTarget(ITimerController* target) {
    if (timerTarget != nullptr && window != nullptr) platform::stopTimer(window);
    timerTarget = nullptr;
    if (target == nullptr || window == nullptr) return;
    if (platform::startTimer(window)) timerTarget = target;
}

void Winwrapper::idle() {
    if (window != nullptr) platform::pump(window);
}

void Winwrapper::closeWindow() {
    if (platform::closesWithEditor()) {
        windowGone();
        return;
    }
    // The tree still points at the editor, which the effect may delete before
    // the host destroys its window: a hidden window is neither painted nor
    // given any input meanwhile.
    if (window != nullptr) platform::hideWindow(window);
}

void Winwrapper::setVisible(bool visible) {
    if (window == nullptr) return;
    if (visible) platform::showWindow(window);
    else
        platform::hideWindow(window);
}

int Winwrapper::eventFd() const { return window != nullptr ? platform::eventFd(window) : -1; }

void Winwrapper::setCursor(CursorShape shape) {
    if (window != nullptr) platform::setCursor(window, shape);
}

void Winwrapper::confirm(const char* caption, const char* text, ConfirmedAction onOk) {
    if (window != nullptr) platform::confirm(window, caption, text, std::move(onOk));
}

void Winwrapper::redraw() {
    if (window != nullptr) platform::invalidate(window);
}

void Winwrapper::releaseResources() {
    if (device == nullptr) return;
    Container::releaseResources();
    device->release();
    device = nullptr;
}

void Winwrapper::captureMouse(Control* control) {
    if (captured != nullptr && captured != control) {
        // Forget the old holder first, so that the capture change the release
        // below reports does not tell it a second time.
        Control* old = captured;
        captured = nullptr;
        old->captureLost();
    }
    captured = control;
    if (window == nullptr) return;
    if (control == nullptr) {
        platform::releaseCapture(window);
        return;
    }
    platform::setCapture(window);
    if (hovered != nullptr && hovered != captured) hovered->mouseLeave();
    hovered = captured;
}

bool Winwrapper::hasMouseCapture(Control* control) {
    return control == captured && window != nullptr && platform::hasCapture(window);
}

Menu* Winwrapper::createMenu(Control* owner) { return platform::createMenu(this, owner); }

bool Winwrapper::isMenuOpenFor(Control* control) { return menuOpen && menuOwner == control; }

void Winwrapper::mouseEvent(MouseAction action, int x, int y, int button, float delta, int keys) {
    Control* target = this;
    if (captured != nullptr) {
        target = captured;
        x -= absoluteX(captured);
        y -= absoluteY(captured);
    }
    switch (action) {
    case MouseAction::Move: target->mouseMove(x, y, keys); break;
    case MouseAction::Down: target->mouseDown(x, y, button, keys); break;
    case MouseAction::Up: target->mouseUp(x, y, button, keys); break;
    case MouseAction::DoubleClick: target->doubleClick(x, y, button, keys); break;
    case MouseAction::Wheel: target->mouseWheel(x, y, delta, keys); break;
    }
}

void Winwrapper::paint() {
    if (window == nullptr) return;
    try {
        if (device == nullptr) device = Paintwell::createGLDevice(platform::drawable(window));
        device->render(this);
    } catch (const Paintwell::Exception&) {
        platform::paintBlack(window);
    }
}

void Winwrapper::timerTick() {
    if (timerTarget != nullptr) timerTarget->onTimer();
}

void Winwrapper::command(unsigned id) {
    if (menuOwner == nullptr) return;
    Control* owner = menuOwner;
    menuOwner = nullptr;
    owner->menuCommand(id);
}

void Winwrapper::captureChanged() {
    if (captured != nullptr) {
        Control* old = captured;
        captured = nullptr;
        old->captureLost();
    }
    if (menuOpen) menuClosed();
}

void Winwrapper::menuShown(Control* owner) {
    menuOwner = owner;
    menuOpen = true;
    redraw();
}

void Winwrapper::menuClosed() {
    menuOpen = false;
    redraw();
}

bool Winwrapper::allowClose() { return controller == nullptr || controller->allowClose(); }

void Winwrapper::windowGone() {
    if (controller != nullptr) controller->windowDestroyed();
    delete this;
}

}  // namespace Wispkit
