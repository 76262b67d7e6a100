// All sound off (controller 120) through the real effect: the processor's
// running state is cleared at the event's frame, not at the block's start
// and not at the next block.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "effect/reed.h"
#include "processor_harness.h"

namespace {

constexpr PlugCore::int32 kBlock = 256;

// Controller 120 on channel 6 at one frame of the block.
struct AllSoundOff final : PlugCore::EventQueue {
    PlugCore::int32 size() const override { return 1; }
    std::int64_t frame(PlugCore::int32) const override { return at_; }
    PlugCore::HostEvent at(PlugCore::int32) const override {
        return {PlugCore::HostEvent::Kind::Midi, {0xB5, 120, 0}, 0, 0.0f};
    }
    std::int64_t at_ = 0;
};

struct Render {
    std::vector<double> left, right;
};

// Noise until `quietFrom`, then silence; an optional CC 120 at `resetAt`.
Render render(std::size_t frames, std::size_t quietFrom, long resetAt) {
    auto reed = std::make_unique<Reed>(nullptr);
    reed->setSampleRate(48000.0f);
    reed->setBlockSize(kBlock);
    reed->resume();
    const ReedTest::Stereo source = ReedTest::noise(frames, 0.8);
    Render out{std::vector<double>(frames), std::vector<double>(frames)};
    std::vector<double> inL(kBlock), inR(kBlock);
    for (std::size_t start = 0; start < frames; start += kBlock) {
        for (std::size_t i = 0; i < kBlock; ++i) {
            const bool quiet = start + i >= quietFrom;
            inL[i] = quiet ? 0.0 : source.left[start + i];
            inR[i] = quiet ? 0.0 : source.right[start + i];
        }
        AllSoundOff list;
        if (resetAt >= static_cast<long>(start) && resetAt < static_cast<long>(start + kBlock)) {
            list.at_ = resetAt - static_cast<long>(start);
            reed->processEvents(&list);
        }
        double* in[2] = {inL.data(), inR.data()};
        double* o[2] = {out.left.data() + start, out.right.data() + start};
        reed->processDoubleReplacing(in, o, kBlock);
    }
    return out;
}

double loudest(const Render& r, std::size_t from, std::size_t to) {
    double m = 0.0;
    for (std::size_t i = from; i < to; ++i) m = std::max({m, std::fabs(r.left[i]), std::fabs(r.right[i])});
    return m;
}

TEST(MidiAllSoundOff, ClearsTheProcessorExactlyAtTheEventsFrame) {
    constexpr std::size_t kFrames = 40 * kBlock;
    constexpr std::size_t kReset = 30 * kBlock + 100;  // inside a block
    constexpr std::size_t kQuiet = kReset - 64;        // the dry signal and its 16-frame latency are over by then
    const Render plain = render(kFrames, kQuiet, -1);
    const Render reset = render(kFrames, kQuiet, static_cast<long>(kReset));

    for (std::size_t i = 0; i < kReset; ++i) {
        ASSERT_EQ(reset.left[i], plain.left[i]) << i;
        ASSERT_EQ(reset.right[i], plain.right[i]) << i;
    }
    // Without the reset the voices ring on, both in the part of the block
    // before the event and after it; with it, silence from the event on.
    EXPECT_GT(loudest(plain, kReset - 32, kReset), 1e-2);
    EXPECT_GT(loudest(plain, kReset, kReset + 2000), 1e-2);
    EXPECT_LT(loudest(reset, kReset, kFrames), 1e-9);
}

}  // namespace
