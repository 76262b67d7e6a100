// Noise, an impulse and a sine through a spread of settings at the common
// sample rates and block sizes: the output must stay finite and free of
// denormals, and the sound must get through.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "processor_harness.h"

namespace {

using ReedDsp::Settings;

// delay, rate, depth, spread, phase, wet, shape, invert, range
const Settings kSettings[] = {
    Settings{},                                                   // the defaults
    {0.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 0.0f},       // shortest step, full depth, fastest LFO
    {1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.3f, 0.0f, 0.0f, 1.0f},       // longest line, clock at rest
    {0.5f, 0.75f, 0.8f, 0.25f, 0.5f, 0.5f, 1.0f, 0.0f, 0.3f},     // vibrato-like, sine
    {0.2f, 0.35f, 0.6f, 0.75f, 0.1f, 0.9f, 0.0f, 1.0f, 0.55f},    // flanger-like, inverted
    {0.9f, 0.6f, 1.0f, 0.5f, 0.25f, 0.7f, 1.0f, 0.0f, 0.8f},
};

struct Signal {
    const char* name;
    ReedTest::Stereo samples;
};

TEST(ProcessorSweep, EverySignalRateBlockSizeAndSettingGivesFiniteNormalOutput) {
    const float rates[] = {44100.0f, 48000.0f, 96000.0f};
    const std::uint32_t blocks[] = {1, 7, 64, 512, 4096};
    ReedTest::Harness h;
    for (float rate : rates) {
        const auto frames = static_cast<std::size_t>(rate * 0.15f);
        const Signal signals[] = {{"noise", ReedTest::noise(frames, 1.0)},
                                  {"impulse", ReedTest::impulse(frames, 100)},
                                  {"sine", ReedTest::sine(frames, 440.0 / rate)}};
        for (const Signal& signal : signals) {
            for (std::uint32_t block : blocks) {
                for (std::size_t k = 0; k < std::size(kSettings); ++k) {
                    const std::string where = std::string(signal.name) + " at " + std::to_string(rate) +
                                              " Hz in blocks of " + std::to_string(block) + ", settings " +
                                              std::to_string(k);
                    ASSERT_TRUE(h.prepare(rate, static_cast<std::int32_t>(block))) << where;
                    h.settings = kSettings[k];
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
