#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "effect/reed_parameters.h"

using namespace ReedParams;

namespace {
std::string show(std::uint32_t index, float value, float range = 0.67f) {
    char text[64] = "untouched";
    format(index, text, value, range);
    return text;
}
}  // namespace

TEST(ReedParameters, DefinitionsInRegistrationOrder) {
    const std::uint32_t order[] = {kRate, kDepth, kDelay, kWet, kSpread, kPhase, kShape, kInvert, kRange};
    for (std::uint32_t i = 0; i < kCount; ++i) EXPECT_EQ(kDefinitions[i].index, order[i]);
    EXPECT_STREQ(kDefinitions[2].name, "delay");
    EXPECT_STREQ(kDefinitions[2].label, "ms");
    EXPECT_STREQ(kDefinitions[0].label, "Hz");
    EXPECT_STREQ(kDefinitions[6].label, "");
    EXPECT_EQ(kDefinitions[5].defaultValue, 0.25f);
    EXPECT_EQ(kDefinitions[8].defaultValue, 0.67f);
}

TEST(ReedParameters, RangeTexts) {
    EXPECT_EQ(show(kRange, 0.25f), "10");
    EXPECT_EQ(show(kRange, 0.2499f), "5");
    EXPECT_EQ(show(kRange, 0.75f), "40");
    EXPECT_EQ(show(kRange, 1.0f), "40");
    EXPECT_EQ(show(kRange, 0.67f), "20");
    EXPECT_EQ(show(kRange, 0.0f), "5");
}

TEST(ReedParameters, DelayTextFollowsTheRange) {
    EXPECT_EQ(show(kDelay, 1.0f, 0.0f), "5.0");
    EXPECT_EQ(show(kDelay, 1.0f, 1.0f), "40.0");
    EXPECT_EQ(show(kDelay, 0.0f, 1.0f), "20.0");
    EXPECT_EQ(show(kDelay, 0.0f, 0.0f), "2.5");
    // 2.5 * (1 + 0.5) * 2^0 = 3.75 is an exact binary tie at one decimal: half to even.
    EXPECT_EQ(show(kDelay, 0.5f, 0.0f), "3.8");
    // 2.5 * 1.25 * 2 = 6.25: a tie that rounds down to even.
    EXPECT_EQ(show(kDelay, 0.25f, 0.25f), "6.2");
}

TEST(ReedParameters, RateTexts) {
    EXPECT_EQ(show(kRate, 0.5f), "1.00");
    EXPECT_EQ(show(kRate, 1.0f), "20.0");
    EXPECT_EQ(show(kRate, 0.0f), "0.05");
}

TEST(ReedParameters, PercentAndSwitchTexts) {
    EXPECT_EQ(show(kDepth, 0.999f), "99");
    EXPECT_EQ(show(kWet, 1.0f), "100");
    EXPECT_EQ(show(kPhase, 0.0f), "0");
    EXPECT_EQ(show(kShape, 0.5f), "triangle");
    EXPECT_EQ(show(kShape, 0.50002f), "sine");
    EXPECT_EQ(show(kInvert, 0.5f), "normal");
    EXPECT_EQ(show(kInvert, 1.0f), "invert");
    EXPECT_EQ(show(9, 0.5f), "untouched");
}
