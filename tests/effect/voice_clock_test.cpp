// The clock's steady span: a voice that keeps its step for the span after a
// reading must be right to, so every position inside the span has to read
// the same exponent entry. Checked densely towards the span's end, where
// the exponent comes closest to the next entry, over the whole range of
// depths, rates, phase offsets and LFO phases, for both shapes and voices.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "effect/fp_guard.h"
#include "effect/voice_clock.h"

namespace {

using ReedDsp::Ramp;

Ramp<double> settledAt(double value) {
    Ramp<double> ramp;
    ramp.retarget(value);
    ramp.advance(1.0);
    return ramp;
}

struct Walk {
    int readings = 0;
    int wrong = 0;
    double frames = 0.0;  // the spans' total length
};

template <bool kSine, int kVoice>
void walkSpans(std::mt19937& random, Walk& walk) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double sampleRate = unit(random) < 0.5 ? 44100.0 : 96000.0;
    const double depth = 0.00125 * std::pow(800.0, unit(random));  // every depth the parameters give
    const double hz = 0.05 * std::pow(400.0, unit(random));
    const ReedDsp::VoiceClock<true, kSine> clock(settledAt(0.35 + 0.35 * unit(random)), settledAt(depth),
                                                 settledAt(unit(random)), 10.0 / sampleRate, hz / sampleRate,
                                                 unit(random));
    for (int start = 0; start < 20; ++start) {
        const double p = 4096.0 * unit(random);
        const auto reading = clock.template read<kVoice>(p);
        const double span = clock.steadySpan(reading);
        ++walk.readings;
        walk.frames += span;
        for (int k = 0; k < 48; ++k) {
            const double inside = k < 16 ? p + span * k / 16.0 : p + span * (1.0 - std::ldexp(1.0, 16 - k));
            if (clock.template read<kVoice>(inside).entry != reading.entry) ++walk.wrong;
        }
    }
}

TEST(VoiceClockSpan, EveryPositionInsideASpanReadsTheEntryItStartedWith) {
    const ReedDsp::FpGuard audioMode;
    std::mt19937 random(20);
    Walk walk;
    for (int trial = 0; trial < 250; ++trial) {
        walkSpans<false, 0>(random, walk);
        walkSpans<false, 1>(random, walk);
        walkSpans<true, 0>(random, walk);
        walkSpans<true, 1>(random, walk);
    }
    EXPECT_EQ(walk.wrong, 0);
    EXPECT_GT(walk.frames / walk.readings, 100.0);  // spans worth keeping a step for
}

// At the default settings (1 Hz, depth 0.05 / 1.5 octaves, 44.1 kHz) the
// exponent crosses an entry about every 150 ticks: a span from a reading
// lasts a quarter of that on average, and never past the crossing.
TEST(VoiceClockSpan, AtTheDefaultSettingsASpanEndsBeforeTheNextEntryAndLastsTensOfFrames) {
    const ReedDsp::FpGuard audioMode;
    const ReedDsp::VoiceClock<true, false> clock(settledAt(0.525), settledAt(0.05 / 1.5), settledAt(0.25),
                                                 10.0 / 44100.0, 1.0 / 44100.0, 0.3);
    double frames = 0.0;
    int readings = 0;
    for (double p = 1.0; p < 44100.0; p += 37.0) {
        const auto reading = clock.read<0>(p);
        const double span = clock.steadySpan(reading);
        double next = p;
        while (clock.read<0>(next).entry == reading.entry) next += 0.125;
        EXPECT_LT(p + span, next) << p;
        frames += span;
        ++readings;
    }
    EXPECT_GT(frames / readings, 10.0);
}

}  // namespace
