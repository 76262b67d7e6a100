#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/text_format.h"

namespace {
std::string fixed(double v, int decimals) {
    char text[64];
    PlugCore::formatFixed(text, sizeof text, v, decimals);
    return text;
}
}  // namespace

TEST(FormatFixed, ExactBinaryTiesRoundHalfToEven) {
    EXPECT_EQ(fixed(6.25, 1), "6.2");
    EXPECT_EQ(fixed(6.75, 1), "6.8");
    EXPECT_EQ(fixed(0.125, 2), "0.12");
    EXPECT_EQ(fixed(0.375, 2), "0.38");
    EXPECT_EQ(fixed(2.5, 0), "2");
    EXPECT_EQ(fixed(3.5, 0), "4");
}

TEST(FormatFixed, NonTiesRoundToNearest) {
    EXPECT_EQ(fixed(0.05, 2), "0.05");  // 0.05 is slightly above its decimal
    EXPECT_EQ(fixed(1.0, 2), "1.00");
    EXPECT_EQ(fixed(9.999, 2), "10.00");
    EXPECT_EQ(fixed(37.5, 1), "37.5");
    EXPECT_EQ(fixed(0.0, 1), "0.0");
    EXPECT_EQ(fixed(-1.25, 1), "-1.2");
    EXPECT_EQ(fixed(1e30, 1).substr(0, 4), "1000");  // beyond 64 bits: falls back, still a number
}

TEST(FormatFixed, AgreesWithThisCRuntimeOnAGrid) {
    // glibc rounds the exact binary value half to even; so must we, everywhere.
    for (int i = 0; i < 20000; ++i) {
        const double v = i * 0.00125 + (i % 7) * 1e-9;
        for (int d = 0; d <= 2; ++d) {
            char expected[64];
            std::snprintf(expected, sizeof expected, "%.*f", d, v);
            ASSERT_EQ(fixed(v, d), expected) << v << " with " << d;
        }
    }
}

TEST(FormatFixed, TruncatesToTheBuffer) {
    char text[4];
    PlugCore::formatFixed(text, sizeof text, 123.456, 2);
    EXPECT_STREQ(text, "123");
}
