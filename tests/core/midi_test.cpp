#include <gtest/gtest.h>

#include <climits>

#include "core/controller_key.h"
#include "core/parameter_table.h"
#include "midi_test_effect.h"

using miditest::Call;
using miditest::Events;
using miditest::TestEffect;

namespace {

constexpr std::int32_t kKeyCC7 = static_cast<std::int32_t>(0xFFFFB007u);
constexpr std::int32_t kKeyCC74 = static_cast<std::int32_t>(0xFFFFB04Au);

float controllerValue(int v) { return PlugCore::quantise(static_cast<float>(v) * 0.007874016f); }

struct Midi : ::testing::Test {
    std::unique_ptr<TestEffect> fx = std::make_unique<TestEffect>();
    miditest::LearnEditor* editor = nullptr;

    void SetUp() override {
        editor = new miditest::LearnEditor;
        fx->setEditor(editor);
    }
    void map(int param, int controller) {
        fx->beginLearn(param);
        Events e;
        e.cc(0, controller, 0);
        fx->run(e.list());
        ASSERT_EQ(fx->getMapping(param), PlugCore::controllerKey(controller));
        fx->calls.clear();
        editor->finished.clear();
    }
};

// ---- keys ------------------------------------------------------------------------

TEST(ControllerKey, IsSignWidenedAndMatchesStoredBytes) {
    EXPECT_EQ(PlugCore::controllerKey(7), kKeyCC7);
    EXPECT_EQ(PlugCore::controllerKey(74), kKeyCC74);
    // A chunk stores the low 16 bits; widening them with their sign gives the live key back.
    const auto stored = static_cast<std::uint16_t>(kKeyCC74);
    EXPECT_EQ(stored, 0xB04A);
    EXPECT_EQ(static_cast<std::int32_t>(static_cast<std::int16_t>(stored)), kKeyCC74);
}

// ---- mapped controllers ------------------------------------------------------------

TEST_F(Midi, MappedControllerAnswersOnAnyChannelAtItsFrameWithoutAutomation) {
    map(2, 7);
    fx->host.calls.clear();
    Events e;
    e.cc(16, 7, 127, /*channel 10*/ 9);
    fx->run(e.list());
    EXPECT_EQ(fx->getParameter(2), 1.0f);
    ASSERT_EQ(fx->subBlocks.size(), 2u);
    EXPECT_EQ(fx->subBlocks[0].length, 16u);
    EXPECT_EQ(fx->subBlocks[0].seen[2], 0.0f);  // the value set by the mapping above
    EXPECT_EQ(fx->subBlocks[1].start, 16u);
    EXPECT_TRUE(fx->subBlocks[1].changed);  // rescanned before the sub-block after the event
    EXPECT_EQ(fx->subBlocks[1].seen[2], 1.0f);

    Events zero;
    zero.cc(0, 7, 0, 9);
    fx->run(zero.list());
    EXPECT_EQ(fx->getParameter(2), 0.0f);
    EXPECT_EQ(fx->hostCalls(testing_support::RecordingHost::Automate), 0);
    EXPECT_TRUE(fx->callsOf(Call::Controller).empty());
}

TEST_F(Midi, UnchangedBlockAfterAMappedMoveReportsNoChange) {
    map(2, 7);
    Events e;
    e.cc(0, 7, 64);
    fx->run(e.list());
    fx->run(nullptr);
    ASSERT_EQ(fx->subBlocks.size(), 1u);
    EXPECT_FALSE(fx->subBlocks[0].changed);
}

TEST_F(Midi, UnmappedLearnableControllerReachesTheHook) {
    Events e;
    e.cc(5, 1, 127, 3);
    fx->run(e.list());
    const std::vector<Call> want{{Call::Controller, static_cast<std::int32_t>(0xFFFFB001u), 127 * 0.007874016f, 5}};
    EXPECT_EQ(fx->callsOf(Call::Controller), want);
}

TEST_F(Midi, RegisteredParameterControllersAndPitchBendChangeNothing) {
    map(0, 1);
    const float before = fx->getParameter(0);
    Events e;
    for (int n : {6, 38, 100, 101, 0, 32, 99, 121, 122}) e.cc(0, n, 90);
    e.midi(0, 0xE0, 0x7F, 0x7F).midi(0, 0xA0, 60, 10).midi(0, 0xD0, 30).midi(0, 0xF0, 1, 2);
    fx->run(e.list());
    EXPECT_TRUE(fx->calls.empty());
    EXPECT_EQ(fx->getParameter(0), before);
    EXPECT_EQ(fx->getMapping(0), PlugCore::controllerKey(1));
}

// ---- learn -------------------------------------------------------------------------

TEST_F(Midi, LearnMapsTheNextControllerAndSetsItsValue) {
    fx->beginLearn(3);
    EXPECT_TRUE(fx->isLearning(3));
    Events e;
    e.cc(0, 74, 100, 5);
    fx->run(e.list());
    EXPECT_EQ(fx->getMapping(3), kKeyCC74);
    EXPECT_EQ(fx->getParameter(3), controllerValue(100));
    EXPECT_EQ(editor->finished, std::vector<std::uint32_t>{3});
    EXPECT_FALSE(fx->isLearning(3));
    EXPECT_EQ(fx->hostCalls(testing_support::RecordingHost::Automate), 0);
}

TEST_F(Midi, ControllersThatAreNotLearnableLeaveLearnArmed) {
    fx->beginLearn(4);
    Events e;
    for (int n : {0, 6, 38, 64, 100, 120, 123}) e.cc(0, n, 100);
    fx->run(e.list());
    EXPECT_TRUE(fx->isLearning(4));
    EXPECT_EQ(fx->getMapping(4), -1);
    EXPECT_TRUE(editor->finished.empty());
}

TEST_F(Midi, LearningAKeyTakesItFromItsOwner) {
    map(5, 74);
    fx->beginLearn(3);
    Events e;
    e.cc(0, 74, 10);
    fx->run(e.list());
    EXPECT_EQ(fx->getMapping(5), -1);
    EXPECT_EQ(fx->getMapping(3), kKeyCC74);
    EXPECT_EQ(fx->getParameter(3), controllerValue(10));
    EXPECT_EQ(fx->getParameter(5), 0.0f);  // not moved by the controller it lost
}

TEST_F(Midi, TargetArmedDuringTheLearnStaysArmed) {
    editor->onLearn = [this] { fx->beginLearn(7); };
    fx->beginLearn(3);
    Events e;
    e.cc(0, 74, 100);
    fx->run(e.list());
    EXPECT_EQ(fx->getMapping(3), kKeyCC74);
    EXPECT_TRUE(fx->isLearning(7));
}

TEST_F(Midi, UnlearnAndCancelDisarm) {
    map(2, 7);
    fx->beginLearn(3);
    fx->unlearn(6);  // another parameter
    EXPECT_FALSE(fx->isLearning(3));
    EXPECT_EQ(fx->getMapping(2), PlugCore::controllerKey(7));

    fx->beginLearn(3);
    fx->unlearn(99);  // out of range: still disarms
    EXPECT_FALSE(fx->isLearning(3));

    fx->unlearn(2);
    EXPECT_EQ(fx->getMapping(2), -1);
    fx->beginLearn(1);
    fx->cancelLearn();
    Events e;
    e.cc(0, 7, 127);
    fx->run(e.list());
    EXPECT_EQ(fx->getMapping(1), -1);
    EXPECT_EQ(fx->getParameter(2), 0.0f);
    EXPECT_EQ(fx->callsOf(Call::Controller).size(), 1u);
}

TEST_F(Midi, OutOfRangeLearnOperationsDoNothing) {
    fx->beginLearn(2);
    fx->beginLearn(9);
    fx->beginLearn(-1);
    EXPECT_TRUE(fx->isLearning(2));
    EXPECT_FALSE(fx->isLearning(9));
    EXPECT_EQ(fx->getMapping(9), -1);
    EXPECT_EQ(fx->getMapping(-1), -1);
    fx->cancelLearn();
    EXPECT_FALSE(fx->isLearning(-1));  // -1 is "nothing armed", not a parameter
}

TEST(MidiLearnWithoutEditor, StillMapsTheController) {
    TestEffect fx;
    fx.setEditor(new PlugCore::Editor);  // an editor that takes no notifications
    fx.beginLearn(0);
    Events e;
    e.cc(0, 20, 127);
    fx.run(e.list());
    EXPECT_EQ(fx.getMapping(0), PlugCore::controllerKey(20));
    EXPECT_EQ(fx.getParameter(0), 1.0f);
}

// ---- notes and the sustain pedal -----------------------------------------------------

TEST_F(Midi, SustainHoldsNoteOffUntilThePedalRises) {
    Events e;
    e.cc(0, 64, 127).midi(8, 0x80, 60, 40).cc(40, 64, 0);
    fx->run(e.list());
    const std::vector<Call> want{{Call::NoteOff, 60, 40, 40}};
    EXPECT_EQ(fx->callsOf(Call::NoteOff), want);
}

TEST_F(Midi, NoteOnWithVelocityZeroIsANoteOff) {
    Events e;
    e.midi(0, 0x91, 62, 90).midi(4, 0x91, 62, 0).cc(10, 64, 100).midi(12, 0x90, 64, 0).cc(20, 64, 10);
    fx->run(e.list());
    const std::vector<Call> want{{Call::NoteOn, 62, 90, 0}, {Call::NoteOff, 62, 100, 4}, {Call::NoteOff, 64, 100, 20}};
    EXPECT_EQ(fx->calls, want);
}

TEST_F(Midi, NoteStruckAgainUnderThePedalCancelsItsHeldOff) {
    Events e;
    e.cc(0, 64, 127).midi(1, 0x90, 60, 80).midi(2, 0x80, 60, 30).midi(3, 0x90, 60, 70).cc(4, 64, 0);
    fx->run(e.list());
    EXPECT_TRUE(fx->callsOf(Call::NoteOff).empty());
}

TEST_F(Midi, PedalReleaseWithoutPressSendsNothing) {
    Events e;
    e.midi(0, 0x80, 60, 30).cc(1, 64, 0);
    fx->run(e.list());
    EXPECT_EQ(fx->callsOf(Call::NoteOff).size(), 1u);
}

TEST_F(Midi, AllNotesOffSilencesEveryNoteAndForgetsHeldOffs) {
    Events e;
    e.cc(0, 64, 127).midi(0, 0x80, 60, 40).cc(10, 123, 0).cc(20, 64, 0);
    fx->run(e.list());
    const auto offs = fx->callsOf(Call::NoteOff);
    ASSERT_EQ(offs.size(), 128u);  // note 127 too: a stuck top note would never end
    for (int note = 0; note < 128; ++note) {
        EXPECT_EQ(offs[note].a, note);
        EXPECT_EQ(offs[note].b, 100.0f);
        EXPECT_EQ(offs[note].frame, 10u);
    }
}

// ---- program change and all sound off -----------------------------------------------------

TEST_F(Midi, ProgramChangeWrapsAndAsksForADisplayUpdate) {
    fx->setProgram(1);
    fx->setParameter(4, 0.75f);
    fx->setProgram(0);
    fx->setParameter(4, 0.5f);
    fx->host.calls.clear();
    Events e;
    e.midi(0, 0xC3, 17);
    fx->run(e.list());
    EXPECT_EQ(fx->getProgram(), 1);
    EXPECT_EQ(fx->getParameter(4), PlugCore::quantise(0.75f));
    EXPECT_EQ(fx->program(0).values[4], 0.5f);
    EXPECT_EQ(fx->hostCalls(testing_support::RecordingHost::UpdateDisplay), 1);
    EXPECT_EQ(fx->hostCalls(testing_support::RecordingHost::Automate), 0);
}

TEST_F(Midi, ProgramChangeReachesTheRendererAtItsFrame) {
    fx->setProgram(2);
    fx->setParameter(1, 0.75f);
    fx->setProgram(0);
    fx->run(nullptr);
    Events e;
    e.midi(40, 0xC0, 2);
    fx->run(e.list());
    ASSERT_EQ(fx->subBlocks.size(), 2u);
    EXPECT_EQ(fx->subBlocks[0].seen[1], PlugCore::quantise(0.25f));
    EXPECT_TRUE(fx->subBlocks[1].changed);
    EXPECT_EQ(fx->subBlocks[1].seen[1], PlugCore::quantise(0.75f));
}

TEST_F(Midi, AllSoundOffResetsAtTheEventsFrame) {
    Events e;
    e.cc(24, 120, 0, 15);
    fx->run(e.list());
    const std::vector<Call> want{{Call::Reset, 0, 0, 24}};
    EXPECT_EQ(fx->calls, want);
    ASSERT_EQ(fx->subBlocks.size(), 2u);
    EXPECT_EQ(fx->subBlocks[0].length, 24u);
}

// ---- the event walk with broken lists -------------------------------------------------------

std::vector<std::pair<std::uint32_t, std::uint32_t>> spans(const TestEffect& fx) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> r;
    for (const auto& b : fx.subBlocks) r.emplace_back(b.start, b.length);
    return r;
}
using Spans = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

// Parameter values a host sends with the block take effect at their frame,
// as a mapped controller does; the host is not told back what it sent.
TEST_F(Midi, ParameterEventsTakeEffectAtTheirFrame) {
    struct ValueEvents final : PlugCore::EventQueue {
        std::vector<std::pair<std::int64_t, PlugCore::HostEvent>> list;
        PlugCore::int32 size() const override { return static_cast<PlugCore::int32>(list.size()); }
        std::int64_t frame(PlugCore::int32 i) const override { return list[i].first; }
        PlugCore::HostEvent at(PlugCore::int32 i) const override { return list[i].second; }
    } events;
    using Kind = PlugCore::HostEvent::Kind;
    events.list = {{20, {Kind::Parameter, {}, 2, 0.3f}},
                   {20, {Kind::Parameter, {}, 99, 0.7f}},  // no such parameter
                   {40, {Kind::Other, {}, 0, 0.0f}}};
    const float before = fx->getParameter(2);
    fx->host.calls.clear();
    fx->processEvents(&events);
    fx->renderWithoutNewEvents();
    EXPECT_EQ(spans(*fx), (Spans{{0, 20}, {20, 20}, {40, 24}}));
    EXPECT_EQ(fx->subBlocks[0].seen[2], before);
    EXPECT_EQ(fx->subBlocks[1].seen[2], PlugCore::quantise(0.3f));
    EXPECT_TRUE(fx->subBlocks[1].changed);
    EXPECT_TRUE(fx->host.calls.empty());
}

TEST_F(Midi, EventGroupsSplitTheBlockAtTheirFrames) {
    Events e;
    e.midi(0, 0x90, 1, 1).midi(10, 0x90, 2, 1).midi(10, 0x90, 3, 1);
    fx->run(e.list());
    EXPECT_EQ(spans(*fx), (Spans{{0, 10}, {10, 54}}));
    const std::vector<Call> want{{Call::NoteOn, 1, 1, 0}, {Call::NoteOn, 2, 1, 10}, {Call::NoteOn, 3, 1, 10}};
    EXPECT_EQ(fx->calls, want);
}

TEST_F(Midi, NullOrEmptyListsRenderOneBlock) {
    fx->run(nullptr);
    EXPECT_EQ(spans(*fx), (Spans{{0, 64}}));
    Events none;
    fx->run(none.list());
    EXPECT_EQ(spans(*fx), (Spans{{0, 64}}));
    Events e;
    e.midi(5, 0x90, 60, 100);
    fx->run(e.listWithCount(-3));
    EXPECT_EQ(spans(*fx), (Spans{{0, 64}}));
    EXPECT_TRUE(fx->calls.empty());
}

// A host's list lives only as long as the call it was sent for, even when
// that call is refused or the effect is suspended before it.
TEST_F(Midi, ListsAreForgottenAfterTheirBlock) {
    Events e;
    e.midi(5, 0x90, 60, 100);
    fx->run(e.list());
    fx->calls.clear();
    fx->renderWithoutNewEvents();
    EXPECT_TRUE(fx->calls.empty());
    EXPECT_EQ(spans(*fx), (Spans{{0, 64}}));

    fx->run(e.list(), TestEffect::kBlock + 1);
    fx->renderWithoutNewEvents();
    EXPECT_TRUE(fx->calls.empty()) << "a refused double-precision block";

    float silence[TestEffect::kBlock + 1] = {};
    float* channels[2] = {silence, silence};
    fx->hand(e.list());
    fx->processReplacing(channels, channels, TestEffect::kBlock + 1);
    fx->renderWithoutNewEvents();
    EXPECT_TRUE(fx->calls.empty()) << "a refused single-precision block";

    fx->hand(e.list());
    fx->suspend();
    fx->resume();
    fx->calls.clear();
    fx->renderWithoutNewEvents();
    EXPECT_TRUE(fx->calls.empty()) << "a suspend between list and block";
}

TEST_F(Midi, NullEventPointerEndsTheList) {
    Events e;
    e.midi(2, 0x90, 60, 100).hole().midi(3, 0x90, 61, 100);
    fx->run(e.list());
    const std::vector<Call> want{{Call::NoteOn, 60, 100, 2}};
    EXPECT_EQ(fx->calls, want);
    EXPECT_EQ(spans(*fx), (Spans{{0, 2}, {2, 62}}));
}

TEST_F(Midi, HugeCountReadsNothingBeyondTheFirstHole) {
    Events e;
    e.midi(1, 0x90, 60, 100).midi(2, 0x90, 61, 100).hole().midi(0, 0x90, 99, 100);
    fx->run(e.listWithCount(INT_MAX));
    EXPECT_EQ(fx->callsOf(Call::NoteOn).size(), 2u);
}

TEST_F(Midi, EventsTooSmallOrNotMidiAreIgnored) {
    Events e;
    e.midi(0, 0x90, 60, 100);
    e.last().byteSize = 8;
    e.midi(0, 0x90, 61, 100);
    e.last().byteSize = -1;
    e.midi(0, 0x90, 62, 100);
    e.last().type = vst::kVstSysExType;
    e.midi(0, 0x90, 63, 100);
    e.last().byteSize = sizeof(vst::VstMidiEvent) - 8;  // counted without the type and size fields
    fx->run(e.list());
    const std::vector<Call> want{{Call::NoteOn, 63, 100, 0}};
    EXPECT_EQ(fx->calls, want);
}

TEST_F(Midi, EarlyUnsortedAndLateEventsLandAtTheCurrentPosition) {
    Events e;
    e.midi(-5, 0x90, 1, 1)
        .midi(20, 0x90, 2, 1)
        .midi(10, 0x90, 3, 1)
        .midi(30, 0x90, 4, 1)
        .midi(INT_MAX, 0x90, 5, 1)
        .midi(12, 0x90, 6, 1);
    fx->run(e.list());
    // Nothing is applied before its place in the list, and nothing goes back in time.
    EXPECT_EQ(spans(*fx), (Spans{{0, 20}, {20, 10}, {30, 34}}));
    const std::vector<Call> want{{Call::NoteOn, 1, 1, 0},  {Call::NoteOn, 2, 1, 20}, {Call::NoteOn, 3, 1, 20},
                                 {Call::NoteOn, 4, 1, 30}, {Call::NoteOn, 5, 1, 30}, {Call::NoteOn, 6, 1, 30}};
    EXPECT_EQ(fx->calls, want);
}

TEST_F(Midi, DataBytesAreTakenAsSevenBits) {
    map(0, 7);
    Events e;
    e.midi(0, 0xB0, 7 | 0x80, 0xFF);
    fx->run(e.list());
    EXPECT_EQ(fx->getParameter(0), 1.0f);
}

}  // namespace
