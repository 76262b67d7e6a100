// The render loop against a small effect of our own: a pure delay that
// reports its delay as latency and records how the loop drives it.
#include <gtest/gtest.h>

#include <deque>

#include "tools/render_tool/hosted_effect.h"
#include "tools/render_tool/render.h"

using RenderTool::AudioBuffer;
using RenderTool::RenderResult;
using RenderTool::RenderSettings;

namespace {

struct DelayEffect {
    explicit DelayEffect(int latency, vst::int32 flags) : latency(latency) {
        record.magic = vst::kEffectMagic;
        record.object = this;
        record.flags = flags;
        record.numInputs = record.numOutputs = 2;
        record.dispatcher = &DelayEffect::dispatch;
        record.process = &DelayEffect::accumulate;
        record.processReplacing = &DelayEffect::replace;
        record.processDoubleReplacing = &DelayEffect::replaceDouble;
        for (auto& line : lines) line.assign(static_cast<std::size_t>(latency), 0.0);
    }

    static DelayEffect& of(vst::AEffect* e) { return *static_cast<DelayEffect*>(e->object); }

    static vst::VstIntPtr dispatch(vst::AEffect* e, vst::int32 op, vst::int32, vst::VstIntPtr value, void*, float opt) {
        DelayEffect& d = of(e);
        if (op == vst::effSetSampleRate) d.rate = opt;
        if (op == vst::effSetBlockSize) d.maxBlock = static_cast<int>(value);
        if (op == vst::effMainsChanged && value) e->initialDelay = d.latency;
        return 0;
    }

    template <typename T>
    void run(T** in, T** out, vst::int32 frames, bool add) {
        blocks.push_back(frames);
        auto* time = reinterpret_cast<vst::VstTimeInfo*>(
            RenderTool::hostCallback(&record, vst::audioMasterGetTime, 0, 0x602, nullptr, 0.0f));
        positions.push_back(time ? time->samplePos : -1.0);
        if (time) tempoValid = tempoValid && (time->flags & vst::kVstTempoValid) && time->tempo == 120.0;
        for (int c = 0; c < 2; ++c) {
            for (vst::int32 i = 0; i < frames; ++i) {
                lines[c].push_back(static_cast<double>(in[c][i]));
                const T y = static_cast<T>(lines[c].front());
                lines[c].pop_front();
                out[c][i] = add ? out[c][i] + y : y;
            }
        }
    }
    static void replace(vst::AEffect* e, float** in, float** out, vst::int32 n) { of(e).run(in, out, n, false); }
    static void accumulate(vst::AEffect* e, float** in, float** out, vst::int32 n) { of(e).run(in, out, n, true); }
    static void replaceDouble(vst::AEffect* e, double** in, double** out, vst::int32 n) {
        of(e).usedDouble = true;
        of(e).run(in, out, n, false);
    }

    vst::AEffect record{};
    int latency;
    float rate = 0;
    int maxBlock = 0;
    bool usedDouble = false;
    bool tempoValid = true;
    std::vector<vst::int32> blocks;
    std::vector<double> positions;
    std::deque<double> lines[2];
};

constexpr vst::int32 kAllPaths = vst::effFlagsCanReplacing | vst::effFlagsCanDoubleReplacing;

AudioBuffer ramp(std::size_t frames, double rate) {
    AudioBuffer a;
    a.sampleRate = rate;
    a.resize(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        a.left[i] = static_cast<float>(i + 1) / 8192.0f;
        a.right[i] = -a.left[i];
    }
    return a;
}

TEST(RenderLoop, OutputLinesUpWithTheInputAndCarriesTheTail) {
    for (int latency : {0, 16, 700}) {
        DelayEffect fx(latency, kAllPaths);
        const AudioBuffer in = ramp(5000, 48000);
        RenderResult result;
        std::string error;
        ASSERT_TRUE(RenderTool::renderThrough(&fx.record, in, RenderSettings{256, false, 0.01}, nullptr, result, error))
            << error;
        EXPECT_EQ(result.latency, latency);
        ASSERT_EQ(result.output.frames(), 5000u + 480u);
        EXPECT_EQ(result.output.sampleRate, 48000);
        for (std::size_t i = 0; i < 5000; ++i) {
            ASSERT_EQ(result.output.left[i], in.left[i]) << "latency " << latency << " frame " << i;
            ASSERT_EQ(result.output.right[i], in.right[i]) << "latency " << latency << " frame " << i;
        }
        for (std::size_t i = 5000; i < result.output.frames(); ++i) ASSERT_EQ(result.output.left[i], 0.0f);
    }
}

TEST(RenderLoop, PreparesTheEffectAndNeverExceedsTheBlockSize) {
    DelayEffect fx(16, kAllPaths);
    RenderResult result;
    std::string error;
    double lastFraction = 0;
    int progressCalls = 0;
    auto progress = [&](double f) {
        EXPECT_GE(f, lastFraction);
        lastFraction = f;
        ++progressCalls;
    };
    ASSERT_TRUE(RenderTool::renderThrough(&fx.record, ramp(1000, 44100), RenderSettings{300, false, 0}, progress,
                                          result, error));
    EXPECT_EQ(fx.rate, 44100.0f);
    EXPECT_EQ(fx.maxBlock, 300);
    EXPECT_EQ(fx.blocks, (std::vector<vst::int32>{300, 300, 300, 116}));
    EXPECT_EQ(lastFraction, 1.0);
    EXPECT_EQ(progressCalls, 4);
    EXPECT_FALSE(fx.usedDouble);
}

TEST(RenderLoop, TransportAdvancesWithEveryBlock) {
    DelayEffect fx(0, kAllPaths);
    RenderResult result;
    std::string error;
    ASSERT_TRUE(RenderTool::renderThrough(&fx.record, ramp(1000, 44100), RenderSettings{256, false, 0}, nullptr, result,
                                          error));
    EXPECT_EQ(fx.positions, (std::vector<double>{0, 256, 512, 768}));
    EXPECT_TRUE(fx.tempoValid);
}

TEST(RenderLoop, DoublePrecisionUsesTheDoubleEntryOrFailsClearly) {
    DelayEffect fx(3, kAllPaths);
    RenderResult result;
    std::string error;
    const AudioBuffer in = ramp(700, 44100);
    ASSERT_TRUE(RenderTool::renderThrough(&fx.record, in, RenderSettings{128, true, 0}, nullptr, result, error));
    EXPECT_TRUE(fx.usedDouble);
    EXPECT_EQ(result.output.left, in.left);

    DelayEffect singleOnly(3, vst::effFlagsCanReplacing);
    EXPECT_FALSE(
        RenderTool::renderThrough(&singleOnly.record, in, RenderSettings{128, true, 0}, nullptr, result, error));
    EXPECT_NE(error.find("double"), std::string::npos);
    EXPECT_TRUE(singleOnly.blocks.empty());
}

TEST(RenderLoop, AnEffectWithOnlyTheAccumulatingEntryStartsFromSilence) {
    DelayEffect fx(5, 0);
    RenderResult result;
    std::string error;
    const AudioBuffer in = ramp(1000, 44100);
    ASSERT_TRUE(RenderTool::renderThrough(&fx.record, in, RenderSettings{100, false, 0}, nullptr, result, error));
    EXPECT_EQ(result.output.left, in.left);
    EXPECT_EQ(result.output.right, in.right);
}

TEST(RenderLoop, RefusesAnImpossibleLatency) {
    for (int latency : {-1, 1 << 23}) {
        DelayEffect fx(0, kAllPaths);
        fx.latency = latency;
        RenderResult result;
        std::string error;
        EXPECT_FALSE(RenderTool::renderThrough(&fx.record, ramp(10, 44100), RenderSettings{}, nullptr, result, error));
        EXPECT_NE(error.find("latency"), std::string::npos);
        EXPECT_TRUE(fx.blocks.empty());
    }
}

TEST(HostCallback, AnswersVersionAndTimeAndIgnoresTheRest) {
    EXPECT_EQ(RenderTool::hostCallback(nullptr, vst::audioMasterVersion, 0, 0, nullptr, 0), 2400);
    RenderTool::hostTransport().start(48000);
    RenderTool::hostTransport().advance(96000);
    auto* t = reinterpret_cast<vst::VstTimeInfo*>(
        RenderTool::hostCallback(nullptr, vst::audioMasterGetTime, 0, 0, nullptr, 0));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->samplePos, 96000);
    EXPECT_EQ(t->sampleRate, 48000);
    EXPECT_EQ(t->ppqPos, 4.0);  // two seconds at 120 BPM
    EXPECT_TRUE(t->flags & vst::kVstTransportPlaying);
    EXPECT_TRUE(t->flags & vst::kVstPpqPosValid);
    for (vst::int32 op : {vst::int32{vst::audioMasterAutomate}, vst::int32{vst::audioMasterIdle}, vst::int32{9999}})
        EXPECT_EQ(RenderTool::hostCallback(nullptr, op, 0, 0, nullptr, 0), 0) << op;
}

}  // namespace
