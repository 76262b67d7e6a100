#include "gui/platform/x11/question_layout.h"

#include <algorithm>

namespace Wispkit::platform {

namespace {

constexpr float kMaxTextWidth = 480;
constexpr int kMinWidth = 300;
constexpr int kButtonsGap = 16;  // between the text and the buttons
constexpr int kButtonMinWidth = 80;
constexpr int kButtonPadding = 24;
constexpr int kButtonSpacing = 8;

// One paragraph broken at blanks; blanks that lead a line are kept, so an
// indented line stays indented.
void wrapParagraph(const std::string& paragraph, float maxWidth, const TextMeasure& measure,
                   std::vector<std::string>& lines) {
    std::string line;
    bool started = false;
    std::size_t start = 0;
    while (start <= paragraph.size()) {
        std::size_t end = paragraph.find(' ', start);
        if (end == std::string::npos) end = paragraph.size();
        std::string word = paragraph.substr(start, end - start);
        std::string longer = started ? line + " " + word : word;
        if (started && !line.empty() && measure(longer) > maxWidth) {
            lines.push_back(line);
            longer = word;
        }
        line = longer;
        started = true;
        start = end + 1;
    }
    lines.push_back(measure(line) > maxWidth ? fitText(line, maxWidth, measure, nullptr) : line);
}

}  // namespace

std::vector<std::string> wrapText(const std::string& text, float maxWidth, const TextMeasure& measure) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        wrapParagraph(text.substr(start, end - start), maxWidth, measure, lines);
        start = end + 1;
    }
    return lines;
}

QuestionLayout layOutQuestion(const std::string& caption, const std::string& text, const TextMeasure& measure) {
    QuestionLayout layout;
    layout.lines = wrapText(text, kMaxTextWidth, measure);
    float widest = measure(caption);
    for (const std::string& line : layout.lines) widest = std::max(widest, measure(line));
    int buttonWidth = kButtonMinWidth;
    for (const char* label : kQuestionLabels)
        buttonWidth = std::max(buttonWidth, static_cast<int>(measure(label) + 0.5f) + kButtonPadding);
    int buttonsWidth = 2 * buttonWidth + kButtonSpacing;
    layout.width = std::max(
        {kMinWidth, static_cast<int>(widest + 0.5f) + 2 * kQuestionMargin, buttonsWidth + 2 * kQuestionMargin});
    int textHeight =
        kQuestionLineHeight + kQuestionCaptionGap + static_cast<int>(layout.lines.size()) * kQuestionLineHeight;
    layout.height = kQuestionMargin + textHeight + kButtonsGap + kQuestionButtonHeight + kQuestionMargin;
    int top = layout.height - kQuestionMargin - kQuestionButtonHeight;
    int left = layout.width - kQuestionMargin - buttonsWidth;
    layout.buttons[0] = PopupRect{left, top, buttonWidth, kQuestionButtonHeight};
    layout.buttons[1] = PopupRect{left + buttonWidth + kButtonSpacing, top, buttonWidth, kQuestionButtonHeight};
    return layout;
}

int buttonAt(const QuestionLayout& layout, int x, int y) {
    for (int i = 0; i < 2; ++i) {
        const PopupRect& r = layout.buttons[i];
        if (x >= r.x && y >= r.y && x < r.x + r.width && y < r.y + r.height) return i;
    }
    return -1;
}

PopupRect placeOver(const PopupRect& editor, int width, int height, int screenWidth, int screenHeight) {
    int x = editor.x + (editor.width - width) / 2;
    int y = editor.y + (editor.height - height) / 2;
    x = std::max(0, std::min(x, screenWidth - width));
    y = std::max(0, std::min(y, screenHeight - height));
    return PopupRect{x, y, width, height};
}

}  // namespace Wispkit::platform
