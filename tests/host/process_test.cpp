// The three process entries as a host drives them: block limits, the
// accumulating path, precision, aliasing of buffers and hostile input.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "test_host.h"

using namespace HostTest;

namespace {

constexpr float kSentinel = 0.25f;

class Process : public ::testing::Test {
protected:
    void SetUp() override { host().reset(); }
};

template <typename T>
bool allEqual(const std::vector<T>& v, T x) {
    for (T s : v)
        if (s != x) return false;
    return true;
}

template <typename T>
bool allFinite(const Stereo<T>& s) {
    for (const auto* channel : {&s.left, &s.right})
        for (T x : *channel)
            if (!std::isfinite(x)) return false;
    return true;
}

// Renders `blocks` blocks of the test signal through the replacing entry.
Stereo<float> renderFloat(const Effect& e, std::size_t frames, std::size_t blocks) {
    Stereo<float> all(frames * blocks);
    for (std::size_t b = 0; b < blocks; ++b) {
        Stereo<float> in = testSignal<float>(frames, b * frames);
        Stereo<float> out(frames);
        e->processReplacing(e.get(), in.channels(), out.channels(), static_cast<vst::int32>(frames));
        std::copy(out.left.begin(), out.left.end(), all.left.begin() + static_cast<std::ptrdiff_t>(b * frames));
        std::copy(out.right.begin(), out.right.end(), all.right.begin() + static_cast<std::ptrdiff_t>(b * frames));
    }
    return all;
}

TEST_F(Process, BlocksLargerThanTheMaximumWriteNothing) {
    Effect e;
    e.start(44100.0f, 64);
    Stereo<float> in = testSignal<float>(65);
    Stereo<float> out(65, kSentinel);
    e->processReplacing(e.get(), in.channels(), out.channels(), 65);
    e->process(e.get(), in.channels(), out.channels(), 65);
    EXPECT_TRUE(allEqual(out.left, kSentinel) && allEqual(out.right, kSentinel));

    Stereo<double> dIn = testSignal<double>(65);
    Stereo<double> dOut(65, 0.25);
    e->processDoubleReplacing(e.get(), dIn.channels(), dOut.channels(), 65);
    EXPECT_TRUE(allEqual(dOut.left, 0.25) && allEqual(dOut.right, 0.25));
    EXPECT_EQ(host().count(vst::audioMasterGetTime), 0);
}

TEST_F(Process, WithoutABlockSizeTheLimitIs1024) {
    Effect e;
    e.dispatch(vst::effMainsChanged, 0, 1);
    Stereo<float> in = testSignal<float>(1025);
    Stereo<float> out(1025, kSentinel);
    e->processReplacing(e.get(), in.channels(), out.channels(), 1025);
    EXPECT_TRUE(allEqual(out.left, kSentinel) && allEqual(out.right, kSentinel));
    e->processReplacing(e.get(), in.channels(), out.channels(), 1024);
    EXPECT_FALSE(allEqual(out.left, kSentinel));
    EXPECT_EQ(out.left[1024], kSentinel);
}

TEST_F(Process, ZeroFrameCallsWriteNothingAndChangeNothing) {
    Effect a, b;
    a.start();
    b.start();
    Stereo<float> in = testSignal<float>(4);
    Stereo<float> out(4, kSentinel);
    a->processReplacing(a.get(), in.channels(), out.channels(), 0);
    a->process(a.get(), in.channels(), out.channels(), 0);
    Stereo<double> dIn = testSignal<double>(4);
    Stereo<double> dOut(4, 0.25);
    a->processDoubleReplacing(a.get(), dIn.channels(), dOut.channels(), 0);
    EXPECT_TRUE(allEqual(out.left, kSentinel) && allEqual(out.right, kSentinel));
    EXPECT_TRUE(allEqual(dOut.left, 0.25) && allEqual(dOut.right, 0.25));
    // Afterwards it renders exactly like an instance that never saw them.
    Stereo<float> ra = renderFloat(a, 256, 8), rb = renderFloat(b, 256, 8);
    EXPECT_EQ(ra.left, rb.left);
    EXPECT_EQ(ra.right, rb.right);
}

TEST_F(Process, AccumulatingAddsToWhatTheOutputHolds) {
    Effect a, b;
    a.start();
    b.start();
    for (std::size_t block = 0; block < 6; ++block) {
        Stereo<float> in = testSignal<float>(512, block * 512);
        Stereo<float> replaced(512), added(512, kSentinel);
        a->processReplacing(a.get(), in.channels(), replaced.channels(), 512);
        b->process(b.get(), in.channels(), added.channels(), 512);
        for (std::size_t i = 0; i < 512; ++i) {
            ASSERT_FLOAT_EQ(added.left[i], replaced.left[i] + kSentinel) << block << ":" << i;
            ASSERT_FLOAT_EQ(added.right[i], replaced.right[i] + kSentinel) << block << ":" << i;
        }
    }
}

TEST_F(Process, DoublePrecisionAgreesWithSinglePrecision) {
    Effect a, b;
    a.start();
    b.start();
    double worst = 0, energy = 0;
    for (std::size_t block = 0; block < 6; ++block) {
        Stereo<float> in = testSignal<float>(512, block * 512);
        Stereo<double> dIn(512);
        for (std::size_t i = 0; i < 512; ++i) {
            dIn.left[i] = in.left[i];
            dIn.right[i] = in.right[i];
        }
        Stereo<float> out(512);
        Stereo<double> dOut(512);
        a->processReplacing(a.get(), in.channels(), out.channels(), 512);
        b->processDoubleReplacing(b.get(), dIn.channels(), dOut.channels(), 512);
        for (std::size_t i = 0; i < 512; ++i) {
            worst = std::max({worst, std::fabs(out.left[i] - dOut.left[i]), std::fabs(out.right[i] - dOut.right[i])});
            energy += dOut.left[i] * dOut.left[i];
        }
    }
    EXPECT_LT(worst, 1e-6);
    EXPECT_GT(energy, 0.0);  // the comparison saw real signal, not silence
}

TEST_F(Process, InPlaceBuffersRenderLikeSeparateOnes) {
    Effect a, b;
    a.start();
    b.start();
    for (std::size_t block = 0; block < 6; ++block) {
        Stereo<float> in = testSignal<float>(300, block * 300);
        Stereo<float> separate(300);
        a->processReplacing(a.get(), in.channels(), separate.channels(), 300);
        Stereo<float> shared = testSignal<float>(300, block * 300);
        b->processReplacing(b.get(), shared.channels(), shared.channels(), 300);
        ASSERT_EQ(shared.left, separate.left) << block;
        ASSERT_EQ(shared.right, separate.right) << block;
    }
}

TEST_F(Process, InstancesShareNoState) {
    Effect a, b, alone;
    a.start();
    b.start();
    alone.start();
    for (std::size_t block = 0; block < 6; ++block) {
        Stereo<float> loud = testSignal<float>(256, 7919 + block * 256);
        for (float& x : loud.left) x *= 1.9f;
        Stereo<float> in = testSignal<float>(256, block * 256);
        Stereo<float> outA(256), outB(256), outAlone(256);
        a->processReplacing(a.get(), loud.channels(), outA.channels(), 256);
        b->processReplacing(b.get(), in.channels(), outB.channels(), 256);
        alone->processReplacing(alone.get(), in.channels(), outAlone.channels(), 256);
        ASSERT_EQ(outB.left, outAlone.left) << block;
        ASSERT_EQ(outB.right, outAlone.right) << block;
    }
}

TEST_F(Process, AsksTheHostForTimeOncePerCall) {
    Effect e;
    e.start();
    host().calls.clear();
    Stereo<float> in = testSignal<float>(128), out(128);
    Stereo<double> dIn = testSignal<double>(128), dOut(128);
    e->processReplacing(e.get(), in.channels(), out.channels(), 128);
    e->process(e.get(), in.channels(), out.channels(), 128);
    e->processDoubleReplacing(e.get(), dIn.channels(), dOut.channels(), 128);
    ASSERT_EQ(host().count(vst::audioMasterGetTime), 3);
    for (const HostCall& c : host().calls) {
        if (c.opcode != vst::audioMasterGetTime) continue;
        EXPECT_EQ(c.effect, e.get());
        EXPECT_EQ(c.value, vst::kVstTempoValid | vst::kVstPpqPosValid | vst::kVstTransportPlaying);
    }
}

// Input no host should send, at the rates and block sizes hosts use, with and
// without time information: the output stays finite.
template <typename T>
void feedHostileInput(const Effect& e, std::size_t frames) {
    const T bad[] = {std::numeric_limits<T>::quiet_NaN(),
                     std::numeric_limits<T>::infinity(),
                     -std::numeric_limits<T>::infinity(),
                     T(3e12),
                     T(-3e12),
                     std::numeric_limits<T>::max(),
                     std::numeric_limits<T>::lowest(),
                     std::numeric_limits<T>::denorm_min(),
                     T(0)};
    for (int block = 0; block < 8; ++block) {
        Stereo<T> in = testSignal<T>(frames, static_cast<std::size_t>(block) * frames);
        for (std::size_t i = 0; i < frames; i += 3) {
            in.left[i] = bad[(i / 3 + static_cast<std::size_t>(block)) % std::size(bad)];
            in.right[(i * 7) % frames] = bad[(i / 3 + 4) % std::size(bad)];
        }
        Stereo<T> out(frames);
        if constexpr (std::is_same_v<T, float>)
            e->processReplacing(e.get(), in.channels(), out.channels(), static_cast<vst::int32>(frames));
        else
            e->processDoubleReplacing(e.get(), in.channels(), out.channels(), static_cast<vst::int32>(frames));
        ASSERT_TRUE(allFinite(out)) << "block " << block;
    }
}

TEST_F(Process, HostileInputGivesFiniteOutput) {
    for (float rate : {44100.0f, 48000.0f, 96000.0f}) {
        for (vst::int32 frames : {64, 1024}) {
            for (bool withTime : {true, false}) {
                host().giveTime = withTime;
                host().time.tempo = 133.0;
                host().time.flags = vst::kVstTempoValid | vst::kVstTransportPlaying;
                Effect e;
                e.start(rate, frames);
                SCOPED_TRACE(::testing::Message() << rate << " Hz, " << frames << " frames, time " << withTime);
                feedHostileInput<float>(e, static_cast<std::size_t>(frames));
                feedHostileInput<double>(e, static_cast<std::size_t>(frames));
            }
        }
    }
}

TEST_F(Process, ExtremeParameterSettingsStayFinite) {
    Effect e;
    e.start(96000.0f, 128);
    for (float v : {0.0f, 1.0f}) {
        for (vst::int32 i = 0; i < 9; ++i) e->setParameter(e.get(), i, v);
        Stereo<float> out = renderFloat(e, 128, 40);
        ASSERT_TRUE(allFinite(out)) << v;
    }
}

TEST_F(Process, RateChangeWhileSuspendedThenResumeKeepsWorking) {
    Effect e;
    e.start(44100.0f, 256);
    renderFloat(e, 256, 2);
    e.dispatch(vst::effMainsChanged, 0, 0);
    e.dispatch(vst::effSetSampleRate, 0, 0, nullptr, 96000.0f);
    e.dispatch(vst::effSetBlockSize, 0, 2048);
    e.dispatch(vst::effMainsChanged, 0, 1);
    EXPECT_EQ(e->initialDelay, 16);
    Stereo<float> out = renderFloat(e, 2048, 2);
    EXPECT_TRUE(allFinite(out));
    EXPECT_FALSE(allEqual(out.left, 0.0f));
}

}  // namespace
