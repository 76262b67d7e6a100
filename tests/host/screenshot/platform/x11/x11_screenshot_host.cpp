// The screenshot host on X11: an override-redirect window of the editor's
// size, XTest input, the host's pump alone (X11 has no loop of its own here),
// XGetImage for the pixels.
#include "screenshot_host.h"

#include <X11/Xlib.h>
#include <X11/Xresource.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <thread>

namespace EditorShots {

namespace {
constexpr int kLeft = 40;
constexpr int kTop = 40;
}  // namespace

struct ScreenshotHost::State {
    Display* display = nullptr;
    ::Window window = 0;

    // Whether an override-redirect window other than ours is mapped: the
    // editor's popup menu.
    bool popupShown() {
        ::Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        bool found = false;
        XSync(display, False);
        if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return false;
        for (unsigned i = 0; i < count; ++i) {
            XWindowAttributes attributes{};
            if (children[i] != window && XGetWindowAttributes(display, children[i], &attributes) &&
                attributes.override_redirect && attributes.map_state == IsViewable)
                found = true;
        }
        if (children != nullptr) XFree(children);
        return found;
    }
};

ScreenshotHost::ScreenshotHost() : state(new State) {
    state->display = XOpenDisplay(nullptr);
    if (state->display == nullptr) return;
    Display* display = state->display;
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(display, DefaultScreen(display));
    attributes.override_redirect = True;
    state->window = XCreateWindow(display, DefaultRootWindow(display), kLeft, kTop, kWidth, kHeight, 0, CopyFromParent,
                                  InputOutput, CopyFromParent, CWBackPixel | CWOverrideRedirect, &attributes);
    XMapRaised(display, state->window);
    XSync(display, False);
}

ScreenshotHost::~ScreenshotHost() {
    if (state->display != nullptr) {
        XDestroyWindow(state->display, state->window);
        XCloseDisplay(state->display);
    }
    delete state;
}

std::string ScreenshotHost::problem() const { return state->display == nullptr ? "no X display" : ""; }

void* ScreenshotHost::parent() const { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(state->window)); }

void ScreenshotHost::releaseParent() {}

void ScreenshotHost::showHost(bool shown) {
    if (shown) XMapRaised(state->display, state->window);
    else
        XUnmapWindow(state->display, state->window);
    XSync(state->display, False);
}

Embedded ScreenshotHost::embedded() const {
    ::Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    Embedded found;
    XSync(state->display, False);
    if (!XQueryTree(state->display, state->window, &root, &parent, &children, &count)) return found;
    found.windows = static_cast<int>(count);
    XWindowAttributes attributes{};
    found.shown = count > 0 && XGetWindowAttributes(state->display, children[0], &attributes) &&
                  attributes.map_state == IsViewable;
    if (children != nullptr) XFree(children);
    return found;
}

void ScreenshotHost::settle(const Pump& pump, unsigned milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        if (pump) pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void ScreenshotHost::moveTo(const Pump& pump, int x, int y) {
    XTestFakeMotionEvent(state->display, DefaultScreen(state->display), kLeft + x, kTop + y, 0);
    XSync(state->display, False);
    settle(pump, 40);
}

void ScreenshotHost::leftButton(const Pump& pump, bool down) {
    XTestFakeButtonEvent(state->display, 1, down ? True : False, 0);
    XSync(state->display, False);
    settle(pump, 40);
}

bool ScreenshotHost::chooseLearn(const Pump& pump, int x, int y) {
    moveTo(pump, x, y);
    XTestFakeButtonEvent(state->display, 3, True, 0);
    XTestFakeButtonEvent(state->display, 3, False, 0);
    XSync(state->display, False);
    bool shown = false;
    for (int wait = 0; wait < 100 && !shown; ++wait) {
        settle(pump, 10);
        shown = state->popupShown();
    }
    if (!shown) return false;
    const KeyCode key = XKeysymToKeycode(state->display, XK_l);  // the item's mnemonic
    XTestFakeKeyEvent(state->display, key, True, 0);
    XTestFakeKeyEvent(state->display, key, False, 0);
    XSync(state->display, False);
    settle(pump, 100);
    return !state->popupShown();
}

std::vector<std::uint32_t> ScreenshotHost::grab() {
    XSync(state->display, False);
    XImage* image = XGetImage(state->display, state->window, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
    if (image == nullptr) return {};
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) pixels.push_back(XGetPixel(image, x, y) & 0xFFFFFF);
    XDestroyImage(image);
    return pixels;
}

// As the renderer decides: LCD text only where the desktop's Xft resources
// ask for antialiased text in a sub-pixel order (Xvfb has no resources).
std::string ScreenshotHost::textMode() const {
    const char* resources = XResourceManagerString(state->display);
    if (resources == nullptr) return "grey";
    XrmInitialize();
    XrmDatabase database = XrmGetStringDatabase(resources);
    auto lookup = [&](const char* name, const char* className) {
        char* type = nullptr;
        XrmValue value{};
        if (!XrmGetResource(database, name, className, &type, &value) || value.addr == nullptr) return std::string();
        return std::string(value.addr);
    };
    const std::string antialias = lookup("Xft.antialias", "Xft.Antialias");
    const std::string order = lookup("Xft.rgba", "Xft.Rgba");
    XrmDestroyDatabase(database);
    const bool off = antialias == "0" || antialias == "false" || antialias == "False" || antialias == "off";
    return !off && (order == "rgb" || order == "bgr") ? "LCD" : "grey";
}

}  // namespace EditorShots
