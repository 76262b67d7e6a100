#include <gtest/gtest.h>

#include "effect/ramp.h"

namespace {

using ReedDsp::Pair;
using ReedDsp::Ramp;

TEST(Ramp, FreshRampReachesItsTargetAfterFiveHundredthsOfAUnit) {
    Ramp<double> ramp;
    ramp.retarget(2.0);
    EXPECT_EQ(ramp.valueAt(0.0), 0.0);
    EXPECT_NEAR(ramp.valueAt(0.025), 1.0, 1e-12);
    EXPECT_LT(ramp.valueAt(0.049), 2.0);
    EXPECT_EQ(ramp.valueAt(0.05), 2.0);
    EXPECT_EQ(ramp.valueAt(0.5), 2.0);
    EXPECT_FALSE(ramp.settled());
    ramp.advance(0.05);
    EXPECT_TRUE(ramp.settled());
}

TEST(Ramp, AfterALongQuietSpellTheGlideTakesAWholeUnit) {
    Ramp<double> ramp;
    ramp.retarget(1.0);
    for (int k = 0; k < 30; ++k) ramp.advance(0.1);  // elapsed saturates at 1
    ramp.retarget(3.0);
    EXPECT_EQ(ramp.valueAt(0.0), 1.0);
    EXPECT_NEAR(ramp.valueAt(0.5), 2.0, 1e-12);
    EXPECT_LT(ramp.valueAt(0.99), 3.0);
    EXPECT_EQ(ramp.valueAt(1.0), 3.0);
}

TEST(Ramp, RetargetMidGlideStartsFromTheValueReachedAndSpeedsUp) {
    Ramp<double> ramp;
    ramp.retarget(1.0);
    for (int k = 0; k < 20; ++k) ramp.advance(0.1);
    ramp.retarget(2.0);  // glides for one unit
    ramp.advance(0.2);   // 20% of the way: 1.2
    const double reached = ramp.valueAt(0.0);
    EXPECT_NEAR(reached, 1.2, 1e-12);
    ramp.retarget(0.0);  // new glide lasts 0.95 * 0.2 + 0.05 = 0.24 units
    EXPECT_NEAR(ramp.valueAt(0.0), reached, 1e-15);
    EXPECT_NEAR(ramp.valueAt(0.12), 0.6, 1e-12);
    EXPECT_GT(ramp.valueAt(0.2399), 0.0);
    EXPECT_EQ(ramp.valueAt(0.2401), 0.0);
}

TEST(Ramp, SameTargetDoesNotRestartTheGlide) {
    Ramp<double> ramp;
    ramp.retarget(1.0);
    ramp.advance(0.02);
    const double before = ramp.valueAt(0.01);
    ramp.retarget(1.0);
    EXPECT_EQ(ramp.valueAt(0.01), before);
}

TEST(Ramp, PairsGlideComponentByComponent) {
    Ramp<Pair> ramp;
    ramp.retarget(Pair{1.0, -4.0});
    const Pair half = ramp.valueAt(0.025);
    EXPECT_NEAR(half.first, 0.5, 1e-12);
    EXPECT_NEAR(half.second, -2.0, 1e-12);
    ramp.retarget(Pair{1.0, -4.0});
    EXPECT_EQ(ramp.valueAt(0.025).second, half.second);
    ramp.retarget(Pair{1.0, 0.0});  // one component differs: a new glide from the reached values
    EXPECT_EQ(ramp.valueAt(0.0).first, 0.0);
}

TEST(Ramp, SettledRampAnswersExactlyItsTarget) {
    Ramp<double> ramp;
    ramp.retarget(0.525);
    ramp.advance(0.3);
    ASSERT_TRUE(ramp.settled());
    for (double tau : {0.0, 1e-9, 0.5, 3.0}) EXPECT_EQ(ramp.valueAt(tau), 0.525);
}

}  // namespace
