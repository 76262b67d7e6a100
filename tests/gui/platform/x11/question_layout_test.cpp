// The question's lines and place, without a display.
#include "gui/platform/x11/question_layout.h"

#include <gtest/gtest.h>

namespace Wispkit::platform {
namespace {

float sevenEach(const std::string& s) { return static_cast<float>(s.size()) * 7; }

TEST(QuestionLayout, LinesBreakAtNewlinesThenAtBlanksKeepingIndents) {
    struct Case {
        const char* text;
        float width;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"Saving:\n - values\n - mappings\n", 480, {"Saving:", " - values", " - mappings"}},
        {"one two three four", 70, {"one two", "three four"}},
        {"first\n\nthird", 480, {"first", "", "third"}},
        {"unbreakable-word-here", 70, {"unbreak..."}},
        {"", 480, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<std::string> lines = wrapText(c.text, c.width, sevenEach);
        EXPECT_EQ(lines, c.lines);
        for (const std::string& line : lines) EXPECT_LE(sevenEach(line), c.width);
    }
}

TEST(QuestionLayout, CentredOverTheEditorAndKeptOnTheScreen) {
    struct Case {
        PopupRect editor;
        int x, y;
    };
    const Case cases[] = {
        {{100, 200, 480, 110}, 190, 205},  // centred
        {{-300, -80, 480, 110}, 0, 0},     // off the left and top edges
        {{800, 700, 480, 110}, 724, 668},  // off the right and bottom edges
    };
    for (const Case& c : cases) {
        PopupRect placed = placeOver(c.editor, 300, 100, 1024, 768);
        EXPECT_EQ(placed.x, c.x);
        EXPECT_EQ(placed.y, c.y);
        EXPECT_EQ(placed.width, 300);
    }
}

}  // namespace
}  // namespace Wispkit::platform
