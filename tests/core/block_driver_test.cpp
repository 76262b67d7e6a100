#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "formats/vst2/event_list.h"
#include "support/recording_host.h"
#include "test_plug.h"

using testing_support::TestPlug;

namespace {

using testing_support::RecordingHost;

struct Buffers {
    explicit Buffers(int frames) : in(2, std::vector<double>(frames)), out(2, std::vector<double>(frames, -7.0)) {
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < frames; ++i) in[c][i] = 0.001 * (i + 1) * (c ? -1 : 1);
        inPtr[0] = in[0].data();
        inPtr[1] = in[1].data();
        outPtr[0] = out[0].data();
        outPtr[1] = out[1].data();
    }
    std::vector<std::vector<double>> in, out;
    double* inPtr[2];
    double* outPtr[2];
};

// Records which event indices the core hands over, at which frame.
class EventPlug : public TestPlug {
public:
    using TestPlug::TestPlug;
    struct Applied {
        PlugCore::int32 index;
        std::uint32_t frame;
        std::size_t callsBefore;
    };
    std::vector<Applied> applied;

protected:
    PlugCore::int32 applyEventGroup(const PlugCore::EventQueue& events, PlugCore::int32 index,
                                    std::uint32_t frame) override {
        PlugCore::int32 next = PlugCore::Plug::applyEventGroup(events, index, frame);
        for (PlugCore::int32 i = index; i < next; ++i) applied.push_back({i, frame, calls.size()});
        return next;
    }
};

// Controller events at the given frames, in list order.
struct EventList final : PlugCore::EventQueue {
    explicit EventList(std::vector<std::int64_t> frames) : frames(std::move(frames)) {}
    PlugCore::int32 size() const override { return static_cast<PlugCore::int32>(frames.size()); }
    std::int64_t frame(PlugCore::int32 i) const override { return frames[i]; }
    PlugCore::HostEvent at(PlugCore::int32) const override {
        return {PlugCore::HostEvent::Kind::Midi, {0xB0, 0, 0}, 0, 0.0f};
    }
    std::vector<std::int64_t> frames;
};

// One stored VST event per frame, as a host lays out its list.
struct VstList {
    explicit VstList(std::vector<vst::int32> deltas) {
        for (auto d : deltas) {
            vst::VstMidiEvent e{};
            e.type = vst::kVstMidiType;
            e.byteSize = sizeof e;
            e.deltaFrames = d;
            midi.push_back(e);
        }
        storage.resize(sizeof(vst::VstEvents) + midi.size() * sizeof(void*));
        list = reinterpret_cast<vst::VstEvents*>(storage.data());
        list->numEvents = static_cast<vst::int32>(midi.size());
        for (std::size_t i = 0; i < midi.size(); ++i) list->events[i] = reinterpret_cast<vst::VstEvent*>(&midi[i]);
    }
    std::vector<vst::VstMidiEvent> midi;
    std::vector<unsigned char> storage;
    vst::VstEvents* list;
};

class BlockDriver : public ::testing::Test {
protected:
    RecordingHost host;
    TestPlug plug{&host};
};

}  // namespace

TEST_F(BlockDriver, ResumePreparesOnlyAfterRateOrSizeChanges) {
    plug.setSampleRate(48000.0f);
    plug.resume();
    plug.resume();
    plug.setBlockSize(256);
    plug.resume();
    EXPECT_EQ(plug.log, (std::vector<std::string>{"prepare", "reset", "reset", "prepare", "reset"}));
}

TEST_F(BlockDriver, FirstSubBlockAfterResumeReportsChangeOnce) {
    plug.resume();
    Buffers b(32);
    plug.processDoubleReplacing(b.inPtr, b.outPtr, 32);
    plug.processDoubleReplacing(b.inPtr, b.outPtr, 32);
    ASSERT_EQ(plug.calls.size(), 2u);
    EXPECT_TRUE(plug.calls[0].changed);
    EXPECT_FALSE(plug.calls[1].changed);
    plug.setParameter(1, 0.5f);
    plug.processDoubleReplacing(b.inPtr, b.outPtr, 32);
    EXPECT_TRUE(plug.calls[2].changed);
    plug.resume();
    plug.processDoubleReplacing(b.inPtr, b.outPtr, 32);
    EXPECT_TRUE(plug.calls[3].changed);
}

TEST_F(BlockDriver, OversizedAndEmptyBlocksRenderNothing) {
    plug.resume();
    Buffers b(1025);
    plug.processDoubleReplacing(b.inPtr, b.outPtr, 1025);
    plug.processDoubleReplacing(b.inPtr, b.outPtr, 0);
    plug.processDoubleReplacing(b.inPtr, b.outPtr, -5);
    EXPECT_TRUE(plug.calls.empty());
    EXPECT_EQ(b.out[0][0], -7.0);

    std::vector<float> in(1025, 0.5f), out(1025, 3.0f);
    float* ins[2] = {in.data(), in.data()};
    float* outs[2] = {out.data(), out.data()};
    plug.processReplacing(ins, outs, 1025);
    plug.process(ins, outs, 1025);
    EXPECT_TRUE(plug.calls.empty());
    EXPECT_EQ(out[1024], 3.0f);
}

TEST_F(BlockDriver, InputsAreSanitisedBeforeTheRenderer) {
    plug.resume();
    Buffers b(4);
    b.in[0][0] = std::numeric_limits<double>::quiet_NaN();
    b.in[1][0] = 3e12;
    b.in[0][1] = -std::numeric_limits<double>::infinity();
    plug.gain = 1.0;
    plug.processDoubleReplacing(b.inPtr, b.outPtr, 4);
    EXPECT_EQ(plug.calls[0].firstInputs, (std::vector<double>{0.0, 1e10}));
    EXPECT_EQ(b.out[0][1], -1e10);
}

TEST_F(BlockDriver, HostBuffersMayAlias) {
    plug.resume();
    plug.gain = 2.0;
    std::vector<double> left{1, 2, 3}, right{4, 5, 6};
    double* io[2] = {left.data(), right.data()};
    plug.processDoubleReplacing(io, io, 3);
    EXPECT_EQ(left, (std::vector<double>{2, 4, 6}));
    EXPECT_EQ(right, (std::vector<double>{8, 10, 12}));
}

TEST_F(BlockDriver, SinglePrecisionPathsReplaceOrAccumulate) {
    plug.resume();
    plug.gain = 0.5;
    std::vector<float> inL{1, 2}, inR{-2, 4}, outL{10, 10}, outR{10, 10};
    float* ins[2] = {inL.data(), inR.data()};
    float* outs[2] = {outL.data(), outR.data()};
    plug.processReplacing(ins, outs, 2);
    EXPECT_EQ(outL, (std::vector<float>{0.5f, 1.0f}));
    EXPECT_EQ(outR, (std::vector<float>{-1.0f, 2.0f}));
    plug.process(ins, outs, 2);
    EXPECT_EQ(outL, (std::vector<float>{1.0f, 2.0f}));
    EXPECT_EQ(outR, (std::vector<float>{-2.0f, 4.0f}));
}

TEST_F(BlockDriver, EventsSplitTheBlockIntoSubBlocks) {
    EventPlug ep{&host};
    ep.resume();
    EventList events({0, 10, 10});
    Buffers b(64);
    ep.processEvents(&events);
    ep.processDoubleReplacing(b.inPtr, b.outPtr, 64);
    ASSERT_EQ(ep.calls.size(), 2u);
    EXPECT_EQ(ep.calls[0].frames, 10u);
    EXPECT_EQ(ep.calls[1].frames, 54u);
    ASSERT_EQ(ep.applied.size(), 3u);
    EXPECT_EQ(ep.applied[0].callsBefore, 0u);  // before [0, 10)
    EXPECT_EQ(ep.applied[1].callsBefore, 1u);  // both others before [10, 64)
    EXPECT_EQ(ep.applied[2].callsBefore, 1u);
    EXPECT_EQ(ep.applied[1].frame, 10u);
    // The list is used once: the next block renders whole.
    ep.processDoubleReplacing(b.inPtr, b.outPtr, 64);
    EXPECT_EQ(ep.calls.back().frames, 64u);
    EXPECT_EQ(ep.applied.size(), 3u);
}

TEST_F(BlockDriver, LateAndEarlyEventsLandAtTheEdges) {
    EventPlug ep{&host};
    ep.resume();
    EventList late({100});
    Buffers b(64);
    ep.processEvents(&late);
    ep.processDoubleReplacing(b.inPtr, b.outPtr, 64);
    ASSERT_EQ(ep.calls.size(), 1u);
    EXPECT_EQ(ep.calls[0].frames, 64u);
    ASSERT_EQ(ep.applied.size(), 1u);
    EXPECT_EQ(ep.applied[0].callsBefore, 0u);

    // Unsorted: an event before the current position applies there, without a sub-block.
    EventPlug ep2{&host};
    ep2.resume();
    EventList unsorted({20, 5, -3});
    ep2.processEvents(&unsorted);
    ep2.processDoubleReplacing(b.inPtr, b.outPtr, 64);
    ASSERT_EQ(ep2.calls.size(), 2u);
    EXPECT_EQ(ep2.calls[0].frames, 20u);
    EXPECT_EQ(ep2.calls[1].frames, 44u);
    ASSERT_EQ(ep2.applied.size(), 3u);
    EXPECT_EQ(ep2.applied[2].frame, 20u);
}

TEST_F(BlockDriver, MalformedEventListsAreSafe) {
    EventPlug ep{&host};
    ep.resume();
    Buffers b(16);
    VstList events({4, 8});
    events.list->events[0] = nullptr;  // a hole in the host's list ends it: nothing behind it is read
    Vst2::EventList holed(events.list);
    ep.processEvents(&holed);
    ep.processDoubleReplacing(b.inPtr, b.outPtr, 16);
    EXPECT_EQ(ep.calls.size(), 1u);
    EXPECT_TRUE(ep.applied.empty());

    VstList negative({1});
    negative.list->numEvents = -4;
    Vst2::EventList none(negative.list);
    ep.processEvents(&none);
    ep.processDoubleReplacing(b.inPtr, b.outPtr, 16);
    EXPECT_EQ(ep.calls.back().frames, 16u);
    ep.processEvents(nullptr);
    ep.processDoubleReplacing(b.inPtr, b.outPtr, 16);
    EXPECT_EQ(ep.calls.back().frames, 16u);
}

TEST_F(BlockDriver, TransportFollowsTheHost) {
    plug.setSampleRate(48000.0f);
    plug.resume();
    Buffers b(480);
    host.giveTime = true;
    host.time = {true, 90.0, true, true, 12.5};
    plug.processDoubleReplacing(b.inPtr, b.outPtr, 480);
    const auto& t = plug.calls[0].transport;
    EXPECT_EQ(t.tempo, 90.0);
    EXPECT_EQ(t.beatPosition, 12.5);
    EXPECT_DOUBLE_EQ(t.beatsPerSample, 90.0 / (48000.0 * 60.0));
    EXPECT_EQ(t.sampleRate, 48000.0);

    // Playing without a valid position: the count continues from the block's length.
    host.time.positionValid = false;
    plug.processDoubleReplacing(b.inPtr, b.outPtr, 480);
    EXPECT_NEAR(plug.calls[1].transport.beatPosition, 12.5 + 480 * 90.0 / (48000.0 * 60.0), 1e-6);

    // No time info at all: 120 beats per minute.
    host.giveTime = false;
    plug.processDoubleReplacing(b.inPtr, b.outPtr, 480);
    EXPECT_EQ(plug.calls[2].transport.tempo, 120.0);
}

TEST_F(BlockDriver, StoppedTransportAndIdleRendererRewindTheBeat) {
    plug.resume();
    Buffers b(100);
    host.giveTime = true;
    host.time = {true, 120.0, false, false, 0.0};
    plug.renderResult = false;
    plug.processDoubleReplacing(b.inPtr, b.outPtr, 100);
    plug.processDoubleReplacing(b.inPtr, b.outPtr, 100);
    EXPECT_EQ(plug.calls[1].transport.beatPosition, 0.0);
    plug.renderResult = true;
    plug.processDoubleReplacing(b.inPtr, b.outPtr, 100);
    plug.processDoubleReplacing(b.inPtr, b.outPtr, 100);
    EXPECT_GT(plug.calls[3].transport.beatPosition, 0.0);
}

TEST_F(BlockDriver, TheHostIsAskedForTheTimeOncePerBlock) {
    plug.resume();
    Buffers b(8);
    plug.processDoubleReplacing(b.inPtr, b.outPtr, 8);
    plug.processDoubleReplacing(b.inPtr, b.outPtr, 1025);  // refused: no question
    EXPECT_EQ(host.timeQueries, 1);
}

TEST_F(BlockDriver, ProcessBeforeAnyBlockSizeUsesTheInitialSize) {
    TestPlug fresh{&host};
    Buffers b(1024);
    fresh.processDoubleReplacing(b.inPtr, b.outPtr, 1024);
    ASSERT_EQ(fresh.calls.size(), 1u);
    EXPECT_EQ(fresh.calls[0].frames, 1024u);
}
