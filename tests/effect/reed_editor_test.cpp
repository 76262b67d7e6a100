// The effect's panel: the nine controls on the frame in their order, bound
// to the parameters the host knows by those names.
#include "effect/reed.h"
#include "effect/reed_parameters.h"
#include "gui/plug_edit_vst.h"
#include "gui/plug_frame.h"
#include "gui/plug_knob.h"
#include "gui/plug_menu.h"
#include "gui/plug_switch.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

struct Placed {
    std::string kind;
    std::string name;
    unsigned index;
    int x, y;
    unsigned width, height;
};

Placed describe(Wispkit::Control* control) {
    const int x = control->getX(), y = control->getY();
    const unsigned w = control->getWidth(), h = control->getHeight();
    if (auto* knob = dynamic_cast<Wispkit::PlugKnob*>(control))
        return {"knob", knob->getName(), knob->getIndex(), x, y, w, h};
    if (auto* menu = dynamic_cast<Wispkit::PlugMenu*>(control))
        return {"menu" + std::to_string(menu->getChoices()), menu->getName(), menu->getIndex(), x, y, w, h};
    if (auto* sw = dynamic_cast<Wispkit::PlugSwitch*>(control))
        return {"switch", sw->getName(), sw->getIndex(), x, y, w, h};
    return {"other", "", 0, x, y, w, h};
}

TEST(ReedEditor, PanelHoldsNineControlsInTheirOrder) {
    auto reed = std::make_unique<Reed>(nullptr);
    auto* editor = dynamic_cast<Wispkit::PlugEditVST*>(reed->getEditor());
    ASSERT_NE(editor, nullptr);
    Wispkit::PlugFrame frame(nullptr, editor);
    reed->build(&frame);
    EXPECT_EQ(frame.getWidth(), 480u);
    EXPECT_EQ(frame.getHeight(), 110u);
    EXPECT_EQ(frame.getColour(), 0xE1804Fu);

    using namespace ReedParams;
    const Placed expected[] = {
        {"knob", "delay", kDelay, 18, 4, 80, 80},         {"knob", "rate", kRate, 92, 4, 80, 80},
        {"knob", "depth", kDepth, 166, 4, 80, 80},        {"knob", "phase", kPhase, 240, 4, 80, 80},
        {"knob", "spread", kSpread, 314, 4, 80, 80},      {"knob", "wet mix", kWet, 392, 4, 80, 80},
        {"menu4", "range", kRange, 58, 90, 80, 12},       {"switch", "shape", kShape, 166, 90, 80, 12},
        {"switch", "polarity", kInvert, 274, 90, 80, 12},
    };
    ASSERT_EQ(frame.getChildren().size(), 9u);
    for (std::size_t i = 0; i < 9; ++i) {
        const Placed got = describe(frame.getChildren()[i]);
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(got.kind, expected[i].kind);
        EXPECT_EQ(got.name, expected[i].name);
        EXPECT_EQ(got.index, expected[i].index);
        EXPECT_EQ(got.x, expected[i].x);
        EXPECT_EQ(got.y, expected[i].y);
        EXPECT_EQ(got.width, expected[i].width);
        EXPECT_EQ(got.height, expected[i].height);
    }
    // The host's names behind the panel's captions.
    char name[32];
    reed->getParameterName(static_cast<PlugCore::int32>(describe(frame.getChildren()[5]).index), name);
    EXPECT_STREQ(name, "wet");
    reed->getParameterName(static_cast<PlugCore::int32>(describe(frame.getChildren()[8]).index), name);
    EXPECT_STREQ(name, "invert");

    // The range menu's choices read as the four ranges.
    char text[32];
    for (unsigned c = 0; c < 4; ++c) {
        frame.getChoiceText(kRange, c, 4, text);
        EXPECT_STREQ(text, (std::to_string(5 << c) + " ms").c_str());
    }
}

}  // namespace
