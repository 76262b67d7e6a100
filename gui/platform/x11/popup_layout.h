// The parts of the X11 popup menu that need no server: the items as the
// menu keeps them, where the menu goes on the screen, and item texts cut to
// fit. Pure functions, so that they are tested without a display.
//
// Threads: any. Ownership: values only.
#pragma once

#include <functional>
#include <string>

namespace Wispkit::platform {

/// Longest item text kept, in bytes; longer texts are cut.
constexpr std::size_t kMaxItemBytes = 111;

struct PopupItem {
    std::string text;        // without the '&' marks
    int mnemonicIndex = -1;  // byte of text to underline, -1 for none
    char key = 0;            // the mnemonic in lower case, 0 for none
    unsigned id = 0;
    bool enabled = false;
    bool separator = false;
};

/// An item from the owner's text: "&x" marks x as the item's key, "&&" is
/// one '&'. At most kMaxItemBytes of the text are read.
PopupItem parseItem(const char* text, unsigned id, bool enabled);
PopupItem separatorItem();

struct PopupRect {
    int x, y, width, height;
};

/// The menu's screen rectangle: its top at py, its left edge (align -1),
/// right edge (1) or centre (anything else) at px; then moved onto a screen
/// of screenWidth by screenHeight, above the point when it does not fit
/// below it.
PopupRect placePopup(int px, int py, int align, int width, int height, int screenWidth, int screenHeight);

/// text itself when it measures at most maxWidth, else its longest start
/// that fits with "..." after it. mnemonicIndex is cleared when its letter
/// is cut off.
std::string fitText(const std::string& text, float maxWidth, const std::function<float(const std::string&)>& measure,
                    int* mnemonicIndex);

}  // namespace Wispkit::platform
