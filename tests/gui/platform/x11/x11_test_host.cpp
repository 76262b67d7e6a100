#include "x11_test_host.h"

#include <X11/extensions/XTest.h>

#include <stdexcept>
#include <thread>

namespace WispkitTest {

TestHost::TestHost(int x, int y, int width, int height) : left(x), top(y) {
    display = XOpenDisplay(nullptr);
    if (display == nullptr) throw std::runtime_error("no X display");
    XSetWindowAttributes attributes{};
    attributes.background_pixel = 0;
    parent = XCreateWindow(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(width),
                           static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent, CWBackPixel,
                           &attributes);
    XMapRaised(display, parent);
    XSync(display, False);
    // The pointer starts inside the host's window but off the wrapper, so the
    // first move onto a pad is a move, whatever the last test left behind.
    moveTo(width - 5, height - 5);
}

TestHost::~TestHost() {
    XDestroyWindow(display, parent);
    XCloseDisplay(display);
}

void TestHost::moveTo(int x, int y) {
    XTestFakeMotionEvent(display, DefaultScreen(display), left + x, top + y, 0);
    flush();
}

void TestHost::button(unsigned button, bool down, unsigned long delayMs) {
    XTestFakeButtonEvent(display, button, down ? True : False, delayMs);
    flush();
}

void TestHost::click(unsigned b) {
    button(b, true);
    button(b, false);
}

void TestHost::key(unsigned long keysym, bool down) {
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, keysym), down ? True : False, 0);
    flush();
}

void TestHost::tap(unsigned long keysym) {
    key(keysym, true);
    key(keysym, false);
}

void TestHost::moveParent(int x, int y) {
    left = x;
    top = y;
    XMoveWindow(display, parent, x, y);
    XRaiseWindow(display, parent);
    flush();
}

void TestHost::flush() { XSync(display, False); }

Editor::Editor(TestHost& host) {
    wrapper = new Wispkit::Winwrapper(this, 360, 140, reinterpret_cast<void*>(host.parent));
    WispkitDemo::buildDemo(wrapper, &log);
    left = static_cast<WispkitDemo::Pad*>(wrapper->getChildren()[0]);
    right = static_cast<WispkitDemo::Pad*>(wrapper->getChildren()[1]);
    // Input is only sent once the window shows what the pads draw.
    pumpUntil([this] { return log.draws > 0; });
}

Editor::~Editor() {
    if (destroyed == 0) close();
}

void Editor::onTimer() { ticks.push_back(std::chrono::steady_clock::now()); }

void Editor::close() {
    wrapper->releaseResources();
    wrapper->closeWindow();
}

bool Editor::pumpUntil(const std::function<bool()>& done) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        wrapper->idle();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void Editor::settle(int rounds) {
    for (int i = 0; i < rounds; ++i) {
        wrapper->idle();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

}  // namespace WispkitTest
