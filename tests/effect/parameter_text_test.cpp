// Reading values back from what a musician types, against the effect's own
// display texts.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "core/parameter_text.h"
#include "effect/reed.h"
#include "effect/reed_parameters.h"

namespace {

struct Typed {
    std::uint32_t index;
    const char* text;
    bool read;
    const char* shows;  // the display text with label of the value read
};

std::string shown(Reed& reed, std::uint32_t index, float value) {
    char text[64] = {};
    reed.getParameterText(index, value, text);
    return text;
}

}  // namespace

TEST(ParameterText, ReadsNumbersUnitsAndChoices) {
    auto reed = std::make_unique<Reed>(nullptr);
    reed->setParameter(ReedParams::kRange, 0.4f);  // 10 ms: the delay reads 5.0 to 10.0
    using namespace ReedParams;
    const Typed cases[] = {
        {kDelay, "7.5 ms", true, "7.5 ms"},
        {kDelay, "7.5ms", true, "7.5 ms"},
        {kDelay, " 7.5 ", true, "7.5 ms"},
        {kDelay, "99", true, "10.0 ms"},
        {kDelay, "-3", true, "5.0 ms"},
        {kRate, "0.5 Hz", true, "0.50 Hz"},
        {kRate, "1.00hz", true, "1.00 Hz"},
        {kRate, "12", true, "12.0 Hz"},
        {kDepth, "80 %", true, "80 %"},
        {kDepth, "80", true, "80 %"},
        {kWet, "+33", true, "33 %"},
        {kShape, "sine", true, "sine"},
        {kShape, "Triangle", true, "triangle"},
        {kInvert, "invert", true, "invert"},
        {kRange, "20 ms", true, "20 ms"},
        {kRange, "40", true, "40 ms"},
        {kDepth, "loud", false, ""},
        {kDepth, "80 Hz", false, ""},
        {kDepth, "", false, ""},
        {kRate, "nan", false, ""},
        {kRate, "inf", false, ""},
        {kShape, "square", false, ""},
        {kRange, "15 ms", false, ""},
        {kCount, "1", false, ""},
    };
    for (const Typed& c : cases) {
        float value = -1.0f;
        ASSERT_EQ(PlugCore::parseParameterText(*reed, c.index, c.text, value), c.read) << c.text;
        if (c.read) {
            EXPECT_EQ(shown(*reed, c.index, value), c.shows) << c.text;
        }
    }
}

// Whatever the display shows reads back as a value that shows the same.
TEST(ParameterText, EveryShownTextReadsBackToItself) {
    auto reed = std::make_unique<Reed>(nullptr);
    for (std::uint32_t index = 0; index < ReedParams::kCount; ++index) {
        for (std::int32_t q = 0; q <= PlugCore::kParameterSteps; q += 397) {
            const std::string text = shown(*reed, index, PlugCore::stepValue(q));
            float value = -1.0f;
            ASSERT_TRUE(PlugCore::parseParameterText(*reed, index, text.c_str(), value)) << text;
            EXPECT_EQ(shown(*reed, index, value), text) << q;
        }
    }
}
