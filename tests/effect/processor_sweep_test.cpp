// Noise, an impulse and a sine through every factory program and a few
// extreme settings, at the common sample rates and block sizes: the output
// must stay finite and free of denormals, and the sound must get through.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "effect/reed.h"
#include "effect/reed_parameters.h"
#include "processor_harness.h"

namespace {

using ReedDsp::Settings;

// The sixteen factory programs as the effect loads them, then the corners.
std::vector<Settings> sweptSettings() {
    const auto reed = std::make_unique<Reed>(nullptr);
    std::vector<Settings> all;
    for (PlugCore::int32 p = 0; p < reed->programCount(); ++p) {
        const float* v = reed->program(p).values.get();
        using namespace ReedParams;
        all.push_back(
            Settings{v[kDelay], v[kRate], v[kDepth], v[kSpread], v[kPhase], v[kWet], v[kShape], v[kInvert], v[kRange]});
    }
    // delay, rate, depth, spread, phase, wet, shape, invert, range
    all.push_back({0.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 0.0f});  // shortest step, full depth, fastest LFO
    all.push_back({1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.3f, 0.0f, 0.0f, 1.0f});  // longest line, clock at rest
    return all;
}

bool sameSettings(const Settings& a, const Settings& b) {
    return a.delay == b.delay && a.rate == b.rate && a.depth == b.depth && a.spread == b.spread && a.phase == b.phase &&
           a.wet == b.wet && a.shape == b.shape && a.invert == b.invert && a.range == b.range;
}

TEST(ProcessorSweep, TheFactoryProgramsAreDistinct) {
    const std::vector<Settings> all = sweptSettings();
    ASSERT_EQ(all.size(), 18u);
    int distinct = 0;
    for (std::size_t i = 0; i < 16; ++i) {
        bool seen = false;
        for (std::size_t j = 0; j < i; ++j) seen = seen || sameSettings(all[i], all[j]);
        distinct += seen ? 0 : 1;
    }
    EXPECT_GE(distinct, 8);
}

struct Signal {
    const char* name;
    ReedTest::Stereo samples;
};

TEST(ProcessorSweep, EveryProgramSignalRateAndBlockSizeGivesFiniteNormalOutput) {
    const float rates[] = {44100.0f, 48000.0f, 96000.0f};
    const std::uint32_t blocks[] = {1, 7, 64, 512, 4096};
    const std::vector<Settings> all = sweptSettings();
    ReedTest::Harness h;
    for (float rate : rates) {
        const auto frames = static_cast<std::size_t>(rate * 0.1f);
        const Signal signals[] = {{"noise", ReedTest::noise(frames, 1.0)},
                                  {"impulse", ReedTest::impulse(frames, 100)},
                                  {"sine", ReedTest::sine(frames, 440.0 / rate)}};
        for (const Signal& signal : signals) {
            for (std::uint32_t block : blocks) {
                for (std::size_t k = 0; k < all.size(); ++k) {
                    const std::string where = std::string(signal.name) + " at " + std::to_string(rate) +
                                              " Hz in blocks of " + std::to_string(block) + ", settings " +
                                              std::to_string(k);
                    ASSERT_TRUE(h.prepare(rate, static_cast<std::int32_t>(block))) << where;
                    h.settings = all[k];
                    const ReedTest::Stereo out = h.run(signal.samples, block);
                    double energy = 0.0;
                    for (std::size_t i = 0; i < out.size(); ++i) {
                        for (double x : {out.left[i], out.right[i]}) {
                            ASSERT_TRUE(std::isfinite(x)) << where << ", frame " << i;
                            ASSERT_NE(std::fpclassify(x), FP_SUBNORMAL) << where << ", frame " << i;
                            energy += x * x;
                        }
                    }
                    EXPECT_GT(energy, 1e-6) << where;
                }
            }
        }
    }
}

}  // namespace
