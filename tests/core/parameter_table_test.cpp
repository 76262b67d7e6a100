#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "core/parameter_table.h"

using PlugCore::ParameterTable;
using PlugCore::quantise;
using PlugCore::quantiseStep;
using PlugCore::stepValue;

TEST(Quantise, KnownValues) {
    EXPECT_EQ(quantise(0.5f), 0.5f);
    EXPECT_EQ(quantiseStep(0.123456f), 7901);
    EXPECT_EQ(quantise(0.123456f), 7901 * 1.5625e-5f);
    EXPECT_EQ(quantise(1.7f), 1.0f);
    EXPECT_EQ(quantise(1.0f), 1.0f);
    EXPECT_EQ(quantise(-0.3f), 0.0f);
    EXPECT_EQ(quantise(std::numeric_limits<float>::quiet_NaN()), 0.0f);
    EXPECT_EQ(quantise(std::numeric_limits<float>::infinity()), 1.0f);
    EXPECT_EQ(quantise(-std::numeric_limits<float>::infinity()), 0.0f);
    EXPECT_FALSE(std::signbit(quantise(-0.0f)));
}

TEST(Quantise, EveryStoredStepIsAFixedPoint) {
    for (std::int32_t q = 0; q <= 64000; ++q) {
        const float v = stepValue(q);
        ASSERT_EQ(quantiseStep(v), q) << "step " << q;
        ASSERT_EQ(quantise(v), v) << "step " << q;
    }
}

TEST(Quantise, TheUpperStepsNoLongerCreep) {
    // The single-precision product rounds these up across an integer.
    for (std::int32_t q : {63589, 63700, 63999}) {
        float v = stepValue(q);
        for (int round = 0; round < 5; ++round) v = quantise(v);
        EXPECT_EQ(v, stepValue(q));
    }
}

TEST(Quantise, ValuesBetweenStepsFollowTheRecipe) {
    // Away from the stored steps the 64001 factor is kept: x = v * 64001, truncated.
    for (float v : {0.1f, 0.3333f, 0.77777f, 0.99990f, 0.999999f}) {
        float x = v * 64001.0f;
        if (x > 64000.0f) x = 64000.0f;
        const auto expected = static_cast<std::int32_t>(x);
        if (stepValue(expected - 1) == v) continue;  // exactly a step: covered above
        EXPECT_EQ(quantiseStep(v), expected) << v;
    }
}

namespace {

struct CountingCook : PlugCore::IParamCook {
    std::vector<std::uint32_t> cooked;
    bool answer = true;
    bool cookParameter(std::uint32_t index) override {
        cooked.push_back(index);
        return answer;
    }
};

struct RecordingNotify : PlugCore::IParamNotify {
    std::vector<std::uint32_t> offered;
    bool busy = false;
    bool parameterChanged(std::uint32_t index, float) override {
        offered.push_back(index);
        return !busy;
    }
    void dataReady(void*) override {}
    void learnFinished(std::uint32_t) override {}
};

}  // namespace

TEST(ParameterTable, DefinitionsAndOutOfRangeIndices) {
    ParameterTable table(3);
    table.defineParameter(1, "rate", "Hz", 0.123456f);
    table.defineParameter(3, "none", "", 0.5f);  // beyond the table: ignored
    EXPECT_EQ(table.get(1), quantise(0.123456f));
    EXPECT_EQ(table[1].defaultValue.load(), 0.123456f);  // the default is kept unquantised
    EXPECT_STREQ(table[1].name, "rate");
    table.set(7, 0.5f);
    EXPECT_EQ(table.get(7), 0.0f);
}

TEST(ParameterTable, AudioScanReportsEachMoveOnce) {
    ParameterTable table(3);
    CountingCook cook;
    EXPECT_TRUE(table.scanForAudio(cook));  // fresh table: changed, and every audioSeen is -1
    EXPECT_EQ(cook.cooked.size(), 3u);
    cook.cooked.clear();
    EXPECT_FALSE(table.scanForAudio(cook));
    table.set(2, table.get(2));  // same value: not a change
    EXPECT_FALSE(table.scanForAudio(cook));
    table.set(2, 0.25f);
    EXPECT_TRUE(table.scanForAudio(cook));
    EXPECT_EQ(cook.cooked, std::vector<std::uint32_t>{2});
    EXPECT_EQ(table[2].audioSeen.load(), 0.25f);

    cook.cooked.clear();
    table.invalidateAudioSeen();
    cook.answer = false;
    EXPECT_FALSE(table.scanForAudio(cook));  // the effect decides whether a move matters
    EXPECT_EQ(cook.cooked.size(), 3u);
    table.markChanged();
    EXPECT_TRUE(table.scanForAudio(cook));
}

TEST(ParameterTable, EditorScanRetriesWhileTheEditorIsBusy) {
    ParameterTable table(2);
    RecordingNotify notify;
    table.set(1, 0.5f);
    notify.busy = true;
    table.syncToEditor(&notify);
    table.syncToEditor(&notify);
    EXPECT_EQ(notify.offered, (std::vector<std::uint32_t>{1, 1}));
    EXPECT_EQ(table[1].editorSeen.load(), 0.0f);
    notify.busy = false;
    table.syncToEditor(&notify);
    EXPECT_EQ(table[1].editorSeen.load(), 0.5f);
    notify.offered.clear();
    table.syncToEditor(&notify);
    EXPECT_TRUE(notify.offered.empty());
    table.syncToEditor(nullptr);  // no editor: nothing to do, nothing breaks
}

TEST(ParameterTable, ControllerKeysAreUnique) {
    ParameterTable table(3);
    table.assignController(0, 0xB007);
    table.assignController(2, 0xB007);
    EXPECT_EQ(table[0].controllerKey.load(), -1);
    EXPECT_EQ(table[2].controllerKey.load(), 0xB007);
    table.assignController(1, 0xB001);
    EXPECT_EQ(table[2].controllerKey.load(), 0xB007);
}

TEST(ParameterTable, TakeDefaultsCopiesCurrentValues) {
    ParameterTable table(2);
    table.defineParameter(0, "a", "", 0.5f);
    table.set(0, 0.75f);
    table.takeDefaults();
    EXPECT_EQ(table[0].defaultValue.load(), PlugCore::quantise(0.75f));
    EXPECT_EQ(table[1].defaultValue.load(), 0.0f);
}
