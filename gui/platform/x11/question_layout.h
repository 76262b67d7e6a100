// The parts of the X11 question window that need no server: its text broken
// into lines, its size and buttons, and where it goes on the screen. Pure
// functions, so that they are tested without a display.
//
// Threads: any. Ownership: values only.
#pragma once

#include "gui/platform/x11/popup_layout.h"

#include <functional>
#include <string>
#include <vector>

namespace Wispkit::platform {

/// Measures a text as it will be drawn.
using TextMeasure = std::function<float(const std::string&)>;

/// text's lines ('\n' ends one; a last empty line is dropped), each broken
/// at blanks into lines that measure at most maxWidth; a single word wider
/// than that is cut to fit.
std::vector<std::string> wrapText(const std::string& text, float maxWidth, const TextMeasure& measure);

struct QuestionLayout {
    int width = 0;
    int height = 0;
    PopupRect buttons[2]{};  // OK, then Cancel
    std::vector<std::string> lines;
};

constexpr int kQuestionMargin = 16;
constexpr int kQuestionLineHeight = 16;
constexpr int kQuestionCaptionGap = 6;  // below the caption's line
constexpr int kQuestionButtonHeight = 24;
inline constexpr const char* kQuestionLabels[2] = {"OK", "Cancel"};

/// The window's size for the caption and text, with OK and Cancel at its
/// bottom right, OK first.
QuestionLayout layOutQuestion(const std::string& caption, const std::string& text, const TextMeasure& measure);

/// The index of the button at (x, y) of the window, -1 for none.
int buttonAt(const QuestionLayout& layout, int x, int y);

/// A window of width by height centred over the editor's screen rectangle,
/// then moved onto a screen of screenWidth by screenHeight.
PopupRect placeOver(const PopupRect& editor, int width, int height, int screenWidth, int screenHeight);

}  // namespace Wispkit::platform
