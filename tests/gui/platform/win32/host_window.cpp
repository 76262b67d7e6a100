#include "host_window.h"

#include <cstdio>

namespace WispkitTest {

Strings lifetime;

Pad::Pad(Wispkit::Container* parent, const char* name, int x, int y, std::uint32_t colour, WispkitDemo::Log* log)
    : WispkitDemo::Pad(parent, name, x, y, 140, 100, colour, log), label(name) {}

Pad::~Pad() { lifetime.push_back(label + " deleted"); }

namespace {

// Away from the corner where the renderer's tests open their windows.
HWND createHost() { return Win32Test::openHostWindow("WispkitTestHost", WHITE_BRUSH, 500, 520, 360, 140); }

HWND sharedHost() {
    static HWND host = createHost();
    return host;
}

}  // namespace

HostWindow::HostWindow(bool ownHost, bool pump) : ownHost(ownHost) {
    // A pointer left over the window by another program would send moves of its own.
    SetCursorPos(1010, 750);
    host = ownHost ? createHost() : sharedHost();
    wrapper = new Wispkit::Winwrapper(&controller, 360, 140, host);
    child = reinterpret_cast<HWND>(wrapper->nativeHandle());
    left = new Pad(wrapper, "left", 20, 20, 0xFF3070C0, &log);
    right = new Pad(wrapper, "right", 200, 20, 0xFFC05030, &log);
    lifetime.clear();
    if (pump) pumpPending();
}

HostWindow::~HostWindow() {
    if (IsWindow(child)) DestroyWindow(child);
    if (ownHost && IsWindow(host)) DestroyWindow(host);
    pumpPending();
}

Strings HostWindow::events() const {
    Strings lines;
    for (const WispkitDemo::Event& e : log.events) {
        char text[96];
        if (e.what == "leave" || e.what == "lost")
            std::snprintf(text, sizeof text, "%s %s", e.pad.c_str(), e.what.c_str());
        else if (e.what == "command")
            std::snprintf(text, sizeof text, "%s command %u", e.pad.c_str(), e.id);
        else if (e.what == "wheel")
            std::snprintf(text, sizeof text, "%s wheel %d,%d %+.1f k%d", e.pad.c_str(), e.x, e.y, e.delta, e.keys);
        else
            std::snprintf(text, sizeof text, "%s %s %d,%d b%d k%d", e.pad.c_str(), e.what.c_str(), e.x, e.y, e.button,
                          e.keys);
        lines.push_back(text);
    }
    return lines;
}

POINT onScreen(HWND hwnd, int x, int y) {
    POINT point{x, y};
    ClientToScreen(hwnd, &point);
    return point;
}

}  // namespace WispkitTest
