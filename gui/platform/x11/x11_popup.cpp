#include "gui/platform/x11/x11_popup.h"

#include "gui/platform/x11/x11_error_trap.h"
#include "gui/platform/x11/x11_window.h"

#include <X11/keysym.h>

#include <algorithm>
#include <cctype>

namespace Wispkit::platform {

namespace {

constexpr int kItemHeight = 20;
constexpr int kSeparatorHeight = 9;
constexpr int kBorder = 4;
constexpr int kTextLeft = 18;
constexpr int kTextRight = 24;
constexpr int kMinWidth = 80;

constexpr long kPopupEvents =
    ExposureMask | StructureNotifyMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask;

}  // namespace

Popup::Popup(Display* display, std::vector<PopupItem> items) : display(display), items(std::move(items)) {}

Popup::~Popup() {
    if (pointerGrabbed) XUngrabPointer(display, CurrentTime);
    if (keyboardGrabbed) XUngrabKeyboard(display, CurrentTime);
    surface.reset();
}

std::unique_ptr<Popup> Popup::open(Window* owner, std::vector<PopupItem> items, int x, int y, int align) {
    if (owner->destroyed) return nullptr;
    Display* display = owner->display;
    ErrorTrap trap(display);
    std::unique_ptr<Popup> popup(new Popup(display, std::move(items)));
    popup->surface = Surface::create(display, true, kPopupEvents);
    if (!popup->surface) return nullptr;
    popup->measure();
    int screenX = 0, screenY = 0;
    ::Window child = 0;
    XTranslateCoordinates(display, owner->id, DefaultRootWindow(display), x, y, &screenX, &screenY, &child);
    PopupRect& r = popup->rect;
    r = placePopup(screenX, screenY, align, r.width, r.height, DisplayWidth(display, DefaultScreen(display)),
                   DisplayHeight(display, DefaultScreen(display)));
    popup->place();
    XMapRaised(display, popup->surface->id());
    popup->grab();
    if (trap.failed()) return nullptr;
    return popup;
}

// Sizes the menu for its texts; a text too wide for the screen is cut.
void Popup::measure() {
    auto width = [this](const std::string& text) { return surface->textWidth(text); };
    float maxText = static_cast<float>(DisplayWidth(display, DefaultScreen(display)) - kTextLeft - kTextRight);
    float widest = 0;
    int height = 2 * kBorder;
    for (PopupItem& item : items) {
        height += item.separator ? kSeparatorHeight : kItemHeight;
        if (item.separator) continue;
        item.text = fitText(item.text, maxText, width, &item.mnemonicIndex);
        widest = std::max(widest, width(item.text));
    }
    rect.width = std::max(kMinWidth, static_cast<int>(widest + 0.5f) + kTextLeft + kTextRight);
    rect.height = height;
}

// Both grabs are asked for again on later pumps while another client holds them.
void Popup::grab() {
    constexpr unsigned kGrabEvents = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
    if (!pointerGrabbed)
        pointerGrabbed = XGrabPointer(display, surface->id(), False, kGrabEvents, GrabModeAsync, GrabModeAsync, None,
                                      None, CurrentTime) == GrabSuccess;
    if (!keyboardGrabbed)
        keyboardGrabbed =
            XGrabKeyboard(display, surface->id(), False, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess;
}

int Popup::itemTop(int index) const {
    int top = kBorder;
    for (int i = 0; i < index; ++i) top += itemHeight(i);
    return top;
}

int Popup::itemHeight(int index) const {
    return items[static_cast<std::size_t>(index)].separator ? kSeparatorHeight : kItemHeight;
}

int Popup::itemAt(int x, int y) const {
    if (x < 0 || x >= rect.width) return -1;
    int top = kBorder;
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        if (y >= top && y < top + itemHeight(i)) return i;
        top += itemHeight(i);
    }
    return -1;
}

void Popup::setHighlight(int index) {
    if (index == highlight) return;
    highlight = index;
    repaint = true;
}

// The next enabled item from `from` in direction step, wrapping around; -1
// when there is none.
int Popup::nextEnabled(int from, int step) const {
    int count = static_cast<int>(items.size());
    for (int n = 1; n <= count; ++n) {
        int i = ((from + step * n) % count + count) % count;
        const PopupItem& item = items[static_cast<std::size_t>(i)];
        if (item.enabled && !item.separator) return i;
    }
    return -1;
}

Popup::Outcome Popup::choose(int index) const {
    if (index < 0) return Outcome{};
    const PopupItem& item = items[static_cast<std::size_t>(index)];
    if (!item.enabled || item.separator) return Outcome{};
    return Outcome{Outcome::Chosen, item.id};
}

Popup::Outcome Popup::pointerMoved(int x, int y) {
    int index = itemAt(x, y);
    bool selectable = index >= 0 && items[static_cast<std::size_t>(index)].enabled &&
                      !items[static_cast<std::size_t>(index)].separator;
    setHighlight(selectable ? index : -1);
    return Outcome{};
}

Popup::Outcome Popup::buttonPressed(const XButtonEvent& event) {
    bool inside = event.x >= 0 && event.y >= 0 && event.x < rect.width && event.y < rect.height;
    if (!inside) return Outcome{Outcome::Closed, 0};
    if (event.button == Button1 || event.button == Button3) pressedInside = true;
    return Outcome{};
}

// A release chooses only after a press inside the menu or a move onto the
// item, so the release of the click that opened the menu chooses nothing.
Popup::Outcome Popup::buttonReleased(const XButtonEvent& event) {
    if (event.button != Button1 && event.button != Button3) return Outcome{};
    int index = itemAt(event.x, event.y);
    if (index < 0 || (!pressedInside && index != highlight)) return Outcome{};
    return choose(index);
}

Popup::Outcome Popup::mnemonic(char key) {
    int first = -1, count = 0;
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        const PopupItem& item = items[static_cast<std::size_t>(i)];
        if (item.key != key || !item.enabled || item.separator) continue;
        if (first < 0 || (i > highlight && first <= highlight)) first = i;
        ++count;
    }
    if (count == 1) return choose(first);
    // Several items share the key: it steps through them.
    if (count > 1) setHighlight(first);
    return Outcome{};
}

Popup::Outcome Popup::keyPressed(XKeyEvent& event) {
    char typed[8] = {};
    KeySym sym = NoSymbol;
    int length = XLookupString(&event, typed, sizeof typed, &sym, nullptr);
    int count = static_cast<int>(items.size());
    switch (sym) {
    case XK_Escape: return Outcome{Outcome::Closed, 0};
    case XK_Up: setHighlight(nextEnabled(highlight < 0 ? count : highlight, -1)); return Outcome{};
    case XK_Down: setHighlight(nextEnabled(highlight, 1)); return Outcome{};
    case XK_Home: setHighlight(nextEnabled(-1, 1)); return Outcome{};
    case XK_End: setHighlight(nextEnabled(count, -1)); return Outcome{};
    case XK_Return:
    case XK_KP_Enter: return choose(highlight);
    default: break;
    }
    if (length == 1 && std::isgraph(static_cast<unsigned char>(typed[0])))
        return mnemonic(static_cast<char>(std::tolower(static_cast<unsigned char>(typed[0]))));
    return Outcome{};
}

Popup::Outcome Popup::handleEvent(XEvent& event) {
    switch (event.type) {
    case Expose: repaint = true; break;
    case MotionNotify: return pointerMoved(event.xmotion.x, event.xmotion.y);
    case ButtonPress: return buttonPressed(event.xbutton);
    case ButtonRelease: return buttonReleased(event.xbutton);
    case KeyPress: return keyPressed(event.xkey);
    case UnmapNotify:
    case DestroyNotify: return Outcome{Outcome::Closed, 0};
    default: break;
    }
    return Outcome{};
}

}  // namespace Wispkit::platform
