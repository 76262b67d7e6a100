// X11 text settings: the desktop's Xft resources decide between LCD and
// grey text, read from the root window at the moment a font is built so a
// change of settings applies to the next font.
#include "render/platform/gl_platform.h"
#include "render/platform/glx/glx_surface.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xresource.h>
#include <X11/keysym.h>

#include <cstring>
#include <string>

namespace Paintwell::platform {

namespace {

std::string rootResources(Display* display) {
    Atom property = XInternAtom(display, "RESOURCE_MANAGER", True);
    if (property == None) return {};
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    int status = XGetWindowProperty(display, DefaultRootWindow(display), property, 0, 1 << 20, False, XA_STRING, &type,
                                    &format, &count, &remaining, &data);
    std::string text;
    if (status == Success && data && format == 8) text.assign(reinterpret_cast<const char*>(data), count);
    if (data) XFree(data);
    return text;
}

// The resource's value, or an empty text when it is not set.
std::string lookup(XrmDatabase database, const char* name, const char* className) {
    char* type = nullptr;
    XrmValue value{};
    if (!XrmGetResource(database, name, className, &type, &value) || !value.addr) return {};
    return std::string(value.addr, value.size ? value.size - 1 : 0);
}

bool isFalse(const std::string& value) {
    return value == "0" || value == "false" || value == "False" || value == "off" || value == "no";
}

bool keyDown(const char keys[32], Display* display, KeySym symbol) {
    KeyCode code = XKeysymToKeycode(display, symbol);
    return code != 0 && (keys[code / 8] & (1 << (code % 8)));
}

// Shift, Control and Alt held together while a font is built turn LCD text
// off, an escape hatch for screens where it looks wrong.
bool escapeChordHeld(Display* display) {
    char keys[32];
    XQueryKeymap(display, keys);
    bool shift = keyDown(keys, display, XK_Shift_L) || keyDown(keys, display, XK_Shift_R);
    bool control = keyDown(keys, display, XK_Control_L) || keyDown(keys, display, XK_Control_R);
    bool alt = keyDown(keys, display, XK_Alt_L) || keyDown(keys, display, XK_Alt_R);
    return shift && control && alt;
}

}  // namespace

TextMode desktopTextMode(Surface* surface, TextMode previous) {
    Display* display = surface->display;
    TextMode mode{false, true};
    std::string resources = rootResources(display);
    if (!resources.empty()) {
        XrmInitialize();
        XrmDatabase database = XrmGetStringDatabase(resources.c_str());
        if (database) {
            std::string antialias = lookup(database, "Xft.antialias", "Xft.Antialias");
            std::string order = lookup(database, "Xft.rgba", "Xft.Rgba");
            if (!isFalse(antialias) && (order == "rgb" || order == "bgr")) mode = TextMode{true, order == "rgb"};
            XrmDestroyDatabase(database);
        }
    }
    if (mode.subpixel && escapeChordHeld(display)) mode.subpixel = false;
    (void)previous;
    return mode;
}

}  // namespace Paintwell::platform
