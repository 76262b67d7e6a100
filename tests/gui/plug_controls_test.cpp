// Knobs, switches and menu buttons without a window: every gesture as the
// host sees it (begin, values, end), the context menus and the knob's drawing.
#include "gui/plug_data.h"
#include "gui/plug_knob.h"
#include "gui/plug_menu.h"
#include "gui/plug_switch.h"

#include "gui/fake_editor_root.h"
#include "render/font.h"
#include "render/gl/recording_context.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using GuiTest::FakeRoot;
using Wispkit::CursorShape;
using Wispkit::kControlKey;
using Wispkit::kLeftButton;
using Wispkit::kRightButton;
using Wispkit::kShiftKey;

// The plug as the controls see it; edits go into a journal.
class FakePlugData : public Wispkit::IPlugData {
public:
    void setEditing(unsigned index, bool begin) override { log(begin ? "begin" : "end", index); }
    void setValue(unsigned index, float value) override {
        values[index] = value;
        char text[48];
        std::snprintf(text, sizeof text, "set %u %.4f", index, value);
        journal.push_back(text);
    }
    void resetValue(unsigned index) override {
        values[index] = 0.25f;
        log("reset", index);
    }
    void getDefaultText(unsigned index, char* text) override { std::snprintf(text, 32, "def%u", index); }
    void getChoiceText(unsigned index, unsigned choice, unsigned count, char* text) override {
        std::snprintf(text, 32, "c%u/%u", choice, count);
    }
    void beginLearn(unsigned index) override { learning = static_cast<int>(index); }
    void unlearn(unsigned index) override {
        mapping = -1;
        learning = -1;
    }
    void cancelLearn() override {
        learning = -1;
        journal.push_back("cancel learn");
    }
    int getMapping(unsigned) override { return mapping; }
    bool isLearning(unsigned index) override { return learning == static_cast<int>(index); }
    const void* getData(unsigned) override { return nullptr; }
    float getValue(unsigned index, char* text) override {
        if (text) std::snprintf(text, 32, "%.2f", values[index]);
        return values[index];
    }
    Paintwell::StaticTexture* getSheet() override { return sheet; }
    Paintwell::Font* getFont(unsigned which) override { return fonts[which]; }
    std::uint32_t getColour() override { return 0xE1804F; }

    void log(const char* what, unsigned index) { journal.push_back(std::string(what) + " " + std::to_string(index)); }

    float values[9] = {};
    Paintwell::Font* fonts[2] = {};
    Paintwell::StaticTexture* sheet = nullptr;
    std::vector<std::string> journal;
    int learning = -1;
    int mapping = -1;
};

using Journal = std::vector<std::string>;

class Controls : public ::testing::Test {
protected:
    FakePlugData data;  // outlives the controls: a knob deleted mid-drag still ends its gesture
    FakeRoot root;
};

TEST_F(Controls, KnobDragCoversTheRangeIn400PixelsOr4000InFineMode) {
    auto* knob = new Wispkit::PlugKnob(&root, &data, "depth", 2, 0, 0);
    knob->mouseDown(40, 400, kLeftButton, 0);
    EXPECT_EQ(root.captured, knob);
    knob->mouseMove(40, 200, 0);
    EXPECT_FLOAT_EQ(data.values[2], 0.5f);
    knob->mouseMove(90, 200, 0);  // sideways only: nothing sent
    knob->mouseMove(40, 0, 0);
    knob->mouseMove(40, -100, 0);  // beyond the top stays at 1
    EXPECT_FLOAT_EQ(data.values[2], 1.0f);
    knob->mouseMove(40, 300, kShiftKey);  // 400 px down in fine mode: a tenth
    EXPECT_FLOAT_EQ(data.values[2], 0.9f);
    knob->mouseMove(40, 700, kControlKey);
    EXPECT_FLOAT_EQ(data.values[2], 0.8f);
    EXPECT_EQ(root.cursors.back(), CursorShape::VerticalResize);
    knob->mouseUp(40, 700, kLeftButton, 0);
    EXPECT_EQ(root.captured, nullptr);
    EXPECT_FALSE(knob->isDragging());
    EXPECT_EQ(data.journal, (Journal{"begin 2", "set 2 0.5000", "set 2 1.0000", "set 2 1.0000", "set 2 0.9000",
                                     "set 2 0.8000", "end 2"}));
}

TEST_F(Controls, KnobRightClickDuringDragCentresAndClosesTheGesture) {
    auto* knob = new Wispkit::PlugKnob(&root, &data, "rate", 1, 0, 0);
    knob->mouseDown(40, 40, kLeftButton, 0);
    knob->mouseMove(40, 0, 0);
    knob->mouseDown(40, 0, kRightButton, 0);
    EXPECT_EQ(data.journal, (Journal{"begin 1", "set 1 0.1000", "set 1 0.5000", "end 1"}));
    EXPECT_EQ(root.captured, nullptr);
    EXPECT_FALSE(root.lastMenu.shown);  // no context menu during a drag
}

TEST_F(Controls, KnobWheelClampsAndIsAGestureOfItsOwnOutsideADrag) {
    auto* knob = new Wispkit::PlugKnob(&root, &data, "wet", 5, 0, 0);
    data.values[5] = 0.98f;
    knob->mouseWheel(40, 40, 1.0f, 0);
    EXPECT_EQ(data.journal, (Journal{"begin 5", "set 5 1.0000", "end 5"}));

    data.journal.clear();
    data.values[5] = 0.5f;
    knob->mouseDown(40, 40, kLeftButton, 0);
    knob->mouseWheel(40, 40, -1.0f, kShiftKey);  // fine: 0.005, inside the running gesture
    knob->mouseWheel(40, 40, -2.0f, 0);
    knob->mouseUp(40, 40, kLeftButton, 0);
    EXPECT_EQ(data.journal, (Journal{"begin 5", "set 5 0.4950", "set 5 0.3950", "end 5"}));
}

TEST_F(Controls, KnobDoubleClickResetsAndCancelsAnArmedLearn) {
    auto* knob = new Wispkit::PlugKnob(&root, &data, "delay", 0, 0, 0);
    data.learning = 0;
    knob->doubleClick(40, 40, kLeftButton, 0);
    EXPECT_EQ(data.learning, -1);
    EXPECT_EQ(data.journal, (Journal{"cancel learn", "begin 0", "reset 0", "end 0"}));
    data.journal.clear();
    knob->doubleClick(40, 40, kRightButton, 0);
    EXPECT_TRUE(data.journal.empty());
}

TEST_F(Controls, KnobHitsOnlyInsideItsCircle) {
    auto* knob = new Wispkit::PlugKnob(&root, &data, "phase", 4, 100, 0);
    EXPECT_EQ(root.childAt(140, 40), knob);
    EXPECT_EQ(root.childAt(140, 9), knob);     // 31 above the centre
    EXPECT_EQ(root.childAt(140, 8), nullptr);  // 32: on the circle, outside
    EXPECT_EQ(root.childAt(102, 2), nullptr);  // a corner of the square
    root.mouseDown(102, 2, kLeftButton, 0);
    EXPECT_TRUE(data.journal.empty());
}

TEST_F(Controls, KnobHoverFollowsThePointerAndADeletedKnobEndsItsGesture) {
    auto* knob = new Wispkit::PlugKnob(&root, &data, "depth", 2, 0, 0);
    root.mouseMove(40, 40, 0);
    EXPECT_TRUE(knob->isHovered());
    EXPECT_EQ(root.cursors.back(), CursorShape::Hand);
    root.mouseMove(300, 40, 0);  // the container makes it leave
    EXPECT_FALSE(knob->isHovered());

    auto* panel = new Wispkit::Container(nullptr, 0, 0, 480, 110);
    auto* dragged = new Wispkit::PlugKnob(panel, &data, "rate", 1, 0, 0);
    dragged->mouseDown(40, 40, kLeftButton, 0);
    delete panel;
    EXPECT_EQ(data.journal, (Journal{"begin 1", "end 1"}));
}

TEST_F(Controls, ContextMenuOffersResetLearnAndUnlearnWithTheMapping) {
    auto* knob = new Wispkit::PlugKnob(&root, &data, "depth", 2, 0, 0);
    data.learning = 2;
    knob->mouseDown(40, 40, kRightButton, 0);
    EXPECT_EQ(data.learning, -1);  // any press cancels an armed learn first
    const auto& menu = root.lastMenu;
    ASSERT_TRUE(menu.shown);
    EXPECT_EQ(menu.owner, knob);
    EXPECT_EQ(menu.x, 0);
    EXPECT_EQ(menu.y, 68);
    EXPECT_EQ(menu.align, -1);
    ASSERT_EQ(menu.items.size(), 4u);
    EXPECT_EQ(menu.items[0].text, "&Reset to default (def2)");
    EXPECT_EQ(menu.items[1].text, "-");
    EXPECT_EQ(menu.items[2].text, "MIDI &Learn");
    EXPECT_EQ(menu.items[3].text, "MIDI &Unlearn");
    EXPECT_FALSE(menu.items[3].enabled);

    data.mapping = 0xB007;
    knob->mouseDown(40, 40, kRightButton, 0);
    EXPECT_EQ(menu.items[3].text, "MIDI &Unlearn (chan:1, cc:7)");
    EXPECT_TRUE(menu.items[3].enabled);

    data.journal.clear();
    knob->menuCommand(1);
    EXPECT_EQ(data.learning, 2);
    knob->menuCommand(0);  // reset cancels the learn first
    EXPECT_EQ(data.journal, (Journal{"cancel learn", "begin 2", "reset 2", "end 2"}));
    knob->menuCommand(2);
    EXPECT_EQ(data.mapping, -1);
    const int redraws = root.redraws;
    knob->menuCommand(77);
    EXPECT_EQ(root.redraws, redraws + 1);
}

TEST_F(Controls, SwitchFlipsAboveOneHalf) {
    auto* sw = new Wispkit::PlugSwitch(&root, &data, "shape", 6, 166);
    data.values[6] = 0.5f;
    sw->mouseDown(5, 5, kLeftButton, 0);
    EXPECT_FLOAT_EQ(data.values[6], 1.0f);
    data.values[6] = 0.51f;
    sw->mouseDown(5, 5, kLeftButton, 0);
    EXPECT_FLOAT_EQ(data.values[6], 0.0f);
    sw->doubleClick(5, 5, kLeftButton, 0);  // a second press
    EXPECT_FLOAT_EQ(data.values[6], 1.0f);
    EXPECT_EQ(data.journal.size(), 9u);
    sw->mouseDown(5, 5, kRightButton, 0);
    EXPECT_EQ(root.lastMenu.y, 13);
    EXPECT_EQ(root.lastMenu.items.size(), 4u);
    sw->mouseMove(5, 5, 0);
    EXPECT_TRUE(root.cursors.empty());  // switches leave the pointer alone
}

TEST_F(Controls, MenuButtonListsItsChoicesAndStepsWithTheWheel) {
    auto* button = new Wispkit::PlugMenu(&root, &data, "range", 8, 4, 58, 90, 80, 12);
    button->mouseDown(5, 5, kRightButton, 0);
    const auto& items = root.lastMenu.items;
    ASSERT_EQ(items.size(), 9u);
    EXPECT_EQ(items[0].text, "c0/4");
    EXPECT_EQ(items[0].id, 3u);
    EXPECT_EQ(items[3].text, "c3/4");
    EXPECT_EQ(items[3].id, 6u);
    EXPECT_EQ(items[4].text, "-");
    EXPECT_EQ(items[5].text, "&Reset to default (def8)");
    EXPECT_EQ(root.lastMenu.y, 13);

    button->menuCommand(5);
    EXPECT_FLOAT_EQ(data.values[8], 2.0f / 3.0f);
    data.journal.clear();
    button->mouseWheel(5, 5, -1.0f, 0);  // towards the user: choice 3
    EXPECT_FLOAT_EQ(data.values[8], 1.0f);
    button->mouseWheel(5, 5, -1.0f, 0);  // stays at the last choice
    EXPECT_FLOAT_EQ(data.values[8], 1.0f);
    data.values[8] = 0.0f;
    button->mouseWheel(5, 5, 1.0f, 0);  // away from the user at choice 0 stays there
    EXPECT_FLOAT_EQ(data.values[8], 0.0f);
    const std::size_t sent = data.journal.size();
    button->mouseWheel(5, 5, 0.4f, 0);  // a small turn does nothing
    EXPECT_EQ(data.journal.size(), sent);
    EXPECT_EQ(data.journal[0], "begin 8");
    EXPECT_EQ(data.journal[2], "end 8");
}

TEST_F(Controls, MenuButtonWithOneChoiceNeverDividesByZero) {
    auto* button = new Wispkit::PlugMenu(&root, &data, "solo", 3, 1, 0, 0, 80, 12);
    data.values[3] = 0.7f;
    button->mouseWheel(5, 5, -1.0f, 0);
    EXPECT_FLOAT_EQ(data.values[3], 0.0f);
    button->menuCommand(3);
    EXPECT_FLOAT_EQ(data.values[3], 0.0f);
}

TEST_F(Controls, KnobPointerCrossFadesBetweenAdjacentFrames) {
    auto* knob = new Wispkit::PlugKnob(&root, &data, "depth", 2, 166, 4);
    PaintwellTest::RecordingContext context;
    data.values[2] = 0.5f;  // frame 47.5: cells 47 and 48 at half weight
    knob->draw(&context);
    EXPECT_TRUE(context.draws.empty());  // no sheet, no quads
    data.sheet = context.createStaticTexture(4, 4);
    knob->draw(&context);
    ASSERT_EQ(context.draws.size(), 1u);
    const auto& draw = context.draws[0];
    EXPECT_EQ(draw.combine, Paintwell::CombineCrossfade);
    ASSERT_EQ(draw.quads.size(), 2u);
    const Paintwell::Quad& body = draw.quads[0];
    EXPECT_EQ(body.left, 166.0f);
    EXPECT_EQ(body.top, 0.0f);  // four pixels above the control
    EXPECT_EQ(body.texLeft, 320.0f);
    const Paintwell::Quad& pointer = draw.quads[1];
    EXPECT_EQ(pointer.left, 186.0f);
    EXPECT_EQ(pointer.texLeft, 280.0f);  // frame 47: column 7, row 5
    EXPECT_EQ(pointer.texTop, 200.0f);
    EXPECT_EQ(pointer.tex1Left, 0.0f);  // frame 48: column 0, row 6
    EXPECT_EQ(pointer.tex1Top, 240.0f);
    EXPECT_EQ(pointer.colour, 0x7FE0E0E0u);

    context.draws.clear();
    data.values[2] = 1.0f;
    knob->mouseMove(40, 40, 0);  // hover brightens the pointer
    knob->draw(&context);
    EXPECT_EQ(context.draws[0].quads[1].colour, 0x00FFFFFFu);  // frame 95 alone
    EXPECT_EQ(context.draws[0].quads[1].texLeft, 280.0f);
    EXPECT_EQ(context.draws[0].quads[1].texTop, 440.0f);
    data.sheet->release();
}

}  // namespace

namespace {

// Two fonts whose glyphs all advance the same: 6 pixels (small) and 7 (large).
class TextDrawing : public Controls {
protected:
    void SetUp() override {
        Paintwell::setTextMode(false, false);
        for (int f = 0; f < 2; ++f) {
            fonts[f] = Paintwell::Font{};
            for (auto& glyph : fonts[f].glyphs) glyph = Paintwell::Glyph{0, 0, 18, 10, f == 0 ? 18.0f : 21.0f, 0, 0, 8};
            fonts[f].underlineOffset = 1;
            fonts[f].underlineThickness = 1;
            fonts[f].atlas = context.createStaticTexture(4, 4);
            data.fonts[f] = &fonts[f];
        }
        data.sheet = context.createStaticTexture(4, 4);
    }
    void TearDown() override {
        for (auto& font : fonts) font.atlas->release();
        data.sheet->release();
    }
    // One line per drawQuads call: which font (or "line" for an underline),
    // how many glyphs, the colour and the first glyph's left edge.
    std::vector<std::string> texts() {
        std::vector<std::string> lines;
        for (const auto& draw : context.draws) {
            const char* what = draw.texture0 == fonts[0].atlas           ? "small"
                               : draw.texture0 == fonts[1].atlas         ? "large"
                               : draw.combine == Paintwell::CombineColor ? "line"
                                                                         : "quads";
            char text[80];
            std::snprintf(text, sizeof text, "%s %zu %08X %g", what, draw.quads.size(),
                          draw.quads.empty() ? 0u : draw.quads[0].colour,
                          draw.quads.empty() ? 0.0f : draw.quads[0].left);
            lines.push_back(text);
        }
        context.draws.clear();
        return lines;
    }

    PaintwellTest::RecordingContext context;
    Paintwell::Font fonts[2];
};

TEST_F(TextDrawing, CaptionLineShowsNameAndValueOrTheNameAloneWhileTheMenuIsOpen) {
    auto* button = new Wispkit::PlugMenu(&root, &data, "range", 8, 4, 58, 90, 80, 12);
    data.values[8] = 0.5f;
    button->mouseMove(5, 5, 0);
    button->draw(&context);
    // "range: 0.50" is 66 pixels wide, so it starts 7 pixels in; the quads
    // start a pixel left of the pen.
    EXPECT_EQ(texts(), (std::vector<std::string>{"small 6 00E1804F 64", "line 1 FFE1804F 65", "small 5 FFFFFFFF 100"}));
    root.menuOpenFor = button;
    button->draw(&context);
    EXPECT_EQ(texts(), (std::vector<std::string>{"large 5 00E1804F 79.5"}));
    root.menuOpenFor = nullptr;
    data.learning = 8;
    button->draw(&context);
    EXPECT_EQ(texts(), (std::vector<std::string>{"small 12 FFFFFFFF 61"}));
}

TEST_F(TextDrawing, KnobCaptionGrowsWhileItsMenuIsOpenAndItsValueWhileDragging) {
    auto* knob = new Wispkit::PlugKnob(&root, &data, "rate", 1, 0, 0);
    data.values[1] = 0.25f;
    knob->mouseMove(40, 40, 0);
    knob->draw(&context);
    EXPECT_EQ(texts(), (std::vector<std::string>{"quads 2 FFFFFFFF 0", "small 4 00E1804F 27", "line 1 FFE1804F 28",
                                                 "small 4 FFFFFFFF 27"}));
    knob->mouseDown(40, 40, kLeftButton, 0);
    knob->mouseLeave();  // the capture makes the hovered knob leave
    root.menuOpenFor = knob;
    knob->draw(&context);
    const auto lines = texts();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "large 4 00E1804F 25");  // not underlined while dragging
    EXPECT_EQ(lines[2], "large 4 FFFFFFFF 25");
}

}  // namespace
