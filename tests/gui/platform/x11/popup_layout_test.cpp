// The popup menu's items, placement and cut texts, without a display.
#include "gui/platform/x11/popup_layout.h"

#include <gtest/gtest.h>

namespace Wispkit::platform {
namespace {

TEST(PopupLayout, AmpersandMarksTheKeyAndIsNotShown) {
    PopupItem item = parseItem("Un&learn", 7, true);
    EXPECT_EQ(item.text, "Unlearn");
    EXPECT_EQ(item.mnemonicIndex, 2);
    EXPECT_EQ(item.key, 'l');
    EXPECT_EQ(parseItem("&Reset", 0, true).key, 'r');
    PopupItem literal = parseItem("Save && &Quit", 0, true);
    EXPECT_EQ(literal.text, "Save & Quit");
    EXPECT_EQ(literal.key, 'q');
    EXPECT_EQ(parseItem("No key", 0, true).mnemonicIndex, -1);
    EXPECT_EQ(parseItem(std::string(200, 'x').c_str(), 0, true).text.size(), kMaxItemBytes);
}

TEST(PopupLayout, PlacedByAlignmentThenMovedOntoTheScreen) {
    EXPECT_EQ(placePopup(100, 50, -1, 80, 40, 1024, 768).x, 100);
    EXPECT_EQ(placePopup(100, 50, 1, 80, 40, 1024, 768).x, 20);
    EXPECT_EQ(placePopup(100, 50, 7, 80, 40, 1024, 768).x, 60);
    EXPECT_EQ(placePopup(1000, 50, -1, 80, 40, 1024, 768).x, 944);
    EXPECT_EQ(placePopup(10, 50, 1, 80, 40, 1024, 768).x, 0);
    PopupRect low = placePopup(100, 750, -1, 80, 40, 1024, 768);
    EXPECT_EQ(low.y, 710);  // above the point when below does not fit
    PopupRect tall = placePopup(100, 30, -1, 80, 900, 1024, 768);
    EXPECT_EQ(tall.y, 0);
}

TEST(PopupLayout, TooWideTextIsCutWithAnEllipsis) {
    auto width = [](const std::string& s) { return static_cast<float>(s.size()) * 7; };
    int mark = 1;
    EXPECT_EQ(fitText("Short", 100, width, &mark), "Short");
    EXPECT_EQ(mark, 1);
    std::string cut = fitText("A rather long menu entry", 70, width, &mark);
    EXPECT_EQ(cut, "A rathe...");
    EXPECT_LE(width(cut), 70);
    mark = 15;
    fitText("A rather long menu entry", 70, width, &mark);
    EXPECT_EQ(mark, -1);
}

}  // namespace
}  // namespace Wispkit::platform
