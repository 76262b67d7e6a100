// Every dispatcher answer a host can observe, asked through the record.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "test_host.h"

using namespace HostTest;

namespace {

class Dispatcher : public ::testing::Test {
protected:
    void SetUp() override { host().reset(); }
    Effect e;
};

TEST_F(Dispatcher, IdentityStrings) {
    EXPECT_EQ(e.text(vst::effGetEffectName), "Tallow Reed");
    EXPECT_EQ(e.text(vst::effGetVendorString), "Corvelight");
    EXPECT_EQ(e.text(vst::effGetProductString), "Corvelight Tallow Reed");
    char buffer[64];
    EXPECT_EQ(e.dispatch(vst::effGetEffectName, 0, 0, buffer), 1);
    EXPECT_EQ(e.dispatch(vst::effGetVendorString, 0, 0, buffer), 1);
    EXPECT_EQ(e.dispatch(vst::effGetProductString, 0, 0, buffer), 1);
}

TEST_F(Dispatcher, FixedAnswers) {
    EXPECT_EQ(e.dispatch(vst::effOpen), 0);
    EXPECT_EQ(e.dispatch(vst::effGetVu), 0);
    EXPECT_EQ(e.dispatch(vst::effIdentify), vst::fourCC('N', 'v', 'E', 'f'));
    EXPECT_EQ(e.dispatch(vst::effGetNumProgramCategories), 1);
    EXPECT_EQ(e.dispatch(vst::effConnectInput, 0, 1), 1);
    EXPECT_EQ(e.dispatch(vst::effConnectOutput, 1, 0), 1);
    EXPECT_EQ(e.dispatch(vst::effGetPlugCategory), vst::kPlugCategUnknown);
    EXPECT_EQ(e.dispatch(vst::effGetVendorVersion), 0);
    EXPECT_EQ(e.dispatch(vst::effGetTailSize), 0);
    EXPECT_EQ(e.dispatch(vst::effGetParameterProperties, 0, 0, nullptr), 0);
    EXPECT_EQ(e.dispatch(vst::effKeysRequired), 1);
    EXPECT_EQ(e.dispatch(vst::effGetVstVersion), 2400);
    EXPECT_EQ(e.dispatch(vst::effGetCurrentMidiProgram), -1);
    EXPECT_EQ(e.dispatch(vst::effSetBlockSizeAndSampleRate, 0, 256, nullptr, 48000.0f), 1);
    vst::VstEvents none{};
    EXPECT_EQ(e.dispatch(vst::effProcessEvents, 0, 0, &none), 1);
}

TEST_F(Dispatcher, SetupAndTextOpcodesAnswerZero) {
    char text[256] = {};
    EXPECT_EQ(e.dispatch(vst::effSetSampleRate, 0, 0, nullptr, 48000.0f), 0);
    EXPECT_EQ(e.dispatch(vst::effSetBlockSize, 0, 256), 0);
    EXPECT_EQ(e.dispatch(vst::effMainsChanged, 0, 1), 0);
    EXPECT_EQ(e.dispatch(vst::effMainsChanged, 0, 0), 0);
    EXPECT_EQ(e.dispatch(vst::effSetProgram, 0, 2), 0);
    EXPECT_EQ(e.dispatch(vst::effGetProgramName, 0, 0, text), 0);
    EXPECT_EQ(e.dispatch(vst::effSetProgramName, 0, 0, text), 0);
    for (vst::int32 opcode : {vst::effGetParamLabel, vst::effGetParamDisplay, vst::effGetParamName})
        EXPECT_EQ(e.dispatch(opcode, 0, 0, text), 0) << opcode;
}

TEST_F(Dispatcher, ParametersAreNamedInRegistrationOrder) {
    const char* const names[] = {"delay", "rate", "depth", "spread", "phase", "wet", "shape", "invert", "range"};
    for (vst::int32 i = 0; i < 9; ++i) EXPECT_EQ(e.text(vst::effGetParamName, i), names[i]) << i;
    EXPECT_EQ(e.text(vst::effGetParamLabel, 0), "ms");
    EXPECT_EQ(e.text(vst::effGetParamLabel, 1), "Hz");
    EXPECT_EQ(e.text(vst::effGetParamLabel, 6), "");
}

TEST_F(Dispatcher, EveryIndexCanBeAutomated) {
    for (vst::int32 i : {0, 8, 9, -1, 1000}) EXPECT_EQ(e.dispatch(vst::effCanBeAutomated, i), 1) << i;
}

TEST_F(Dispatcher, TotalSamplesToProcessComesBackUnchanged) {
    for (vst::VstIntPtr v : {vst::VstIntPtr{0}, vst::VstIntPtr{12345}, vst::VstIntPtr{INT_MAX}})
        EXPECT_EQ(e.dispatch(vst::effSetTotalSampleToProcess, 0, v), v);
}

TEST_F(Dispatcher, CanDoMatchesExactTextsOnly) {
    auto canDo = [&](const char* text) { return e.dispatch(vst::effCanDo, 0, 0, const_cast<char*>(text)); };
    EXPECT_EQ(canDo("receiveVstEvents"), 1);
    EXPECT_EQ(canDo("receiveVstMidiEvent"), 1);
    EXPECT_EQ(canDo("receiveVstTimeInfo"), 1);
    EXPECT_EQ(canDo("sendVstEvents"), 0);
    EXPECT_EQ(canDo("sendVstMidiEvent"), 0);
    EXPECT_EQ(canDo("receiveVstEvents "), 0);
    EXPECT_EQ(canDo("ReceiveVstEvents"), 0);
    EXPECT_EQ(canDo("receiveVstEvent"), 0);
    EXPECT_EQ(canDo(""), 0);
    EXPECT_EQ(canDo("bypass"), 0);
    EXPECT_EQ(e.dispatch(vst::effCanDo, 0, 0, nullptr), 0);
}

vst::VstPinProperties untouchedPin() {
    vst::VstPinProperties p;
    std::memset(&p, 0x5A, sizeof p);
    p.label[sizeof p.label - 1] = 0;
    return p;
}

TEST_F(Dispatcher, PinsNameTheStereoPairAndKeepTheHostsFields) {
    for (vst::int32 opcode : {vst::effGetInputProperties, vst::effGetOutputProperties}) {
        for (vst::int32 pin : {0, 1}) {
            vst::VstPinProperties p = untouchedPin();
            ASSERT_EQ(e.dispatch(opcode, pin, 0, &p), 1) << opcode << " pin " << pin;
            EXPECT_STREQ(p.label, pin == 0 ? "Main L" : "Main R");
            EXPECT_EQ(p.flags, vst::kVstPinIsActive | vst::kVstPinIsStereo);
            const vst::VstPinProperties host = untouchedPin();
            EXPECT_EQ(p.arrangementType, host.arrangementType);
            EXPECT_EQ(std::memcmp(p.shortLabel, host.shortLabel, sizeof p.shortLabel), 0);
        }
    }
}

TEST_F(Dispatcher, PinsOutsideThePairAnswerZeroAndWriteNothing) {
    for (vst::int32 opcode : {vst::effGetInputProperties, vst::effGetOutputProperties}) {
        for (vst::int32 pin : {-1, -2, 2, 3, INT_MIN, INT_MAX}) {
            vst::VstPinProperties p = untouchedPin();
            const vst::VstPinProperties before = p;
            EXPECT_EQ(e.dispatch(opcode, pin, 0, &p), 0) << opcode << " pin " << pin;
            EXPECT_EQ(std::memcmp(&p, &before, sizeof p), 0) << opcode << " pin " << pin;
        }
        EXPECT_EQ(e.dispatch(opcode, 0, 0, nullptr), 0);
    }
}

TEST_F(Dispatcher, SpeakerArrangementClearsBothPointers) {
    int in = 0, out = 0;
    auto* input = reinterpret_cast<vst::VstSpeakerArrangement*>(&in);
    auto* output = reinterpret_cast<vst::VstSpeakerArrangement*>(&out);
    EXPECT_EQ(e.dispatch(vst::effGetSpeakerArrangement, 0, reinterpret_cast<vst::VstIntPtr>(&input), &output), 0);
    EXPECT_EQ(input, nullptr);
    EXPECT_EQ(output, nullptr);
    EXPECT_EQ(e.dispatch(vst::effGetSpeakerArrangement, 0, 0, nullptr), 0);
}

TEST_F(Dispatcher, UnansweredOpcodesReturnZero) {
    const vst::int32 quiet[] = {16, 17, 18, 20, 21, 27, 30, 36, 37, 38, 39, 40, 41, 42, 44, 46, 53,
                                54, 55, 62, 64, 65, 66, 67, 68, 70, 71, 72, 74, 75, 76, 77, 78, 79};
    for (vst::int32 opcode : quiet) {
        char scratch[512] = {};
        EXPECT_EQ(e.dispatch(opcode, 0, 0, scratch), 0) << "opcode " << opcode;
    }
    for (vst::int32 opcode : {-1, 80, 81, 1000, INT_MAX, INT_MIN}) {
        char scratch[512] = {};
        EXPECT_EQ(e.dispatch(opcode, 1, 1, scratch, 1.0f), 0) << "opcode " << opcode;
    }
}

TEST_F(Dispatcher, EditorKeysAndKnobModeAnswerZero) {
    EXPECT_EQ(e.dispatch(vst::effEditKeyDown, 'a', 0), 0);
    EXPECT_EQ(e.dispatch(vst::effEditKeyUp, 'a', 0), 0);
    EXPECT_EQ(e.dispatch(vst::effSetEditKnobMode, 0, 2), 0);
}

TEST_F(Dispatcher, MouseWheelWithNoWindowOfOursAnswersZero) {
    const vst::int32 index = vst::fourCC('s', 't', 'C', 'A');
    const vst::VstIntPtr value = vst::fourCC('W', 'h', 'e', 'e');
    EXPECT_EQ(e.dispatch(vst::effVendorSpecific, index, value, nullptr, 1.0f), 0);
    EXPECT_EQ(e.dispatch(vst::effVendorSpecific, index, value + 1, nullptr, 1.0f), 0);
    EXPECT_EQ(e.dispatch(vst::effVendorSpecific, 0, 0, nullptr, 0.0f), 0);
}

TEST_F(Dispatcher, ProgramsAreSixteenAndOutOfRangeChangesNothing) {
    EXPECT_EQ(e.dispatch(vst::effGetProgram), 0);
    char name[32];
    for (vst::int32 p = 0; p < 16; ++p) {
        std::memset(name, 0, sizeof name);
        EXPECT_EQ(e.dispatch(vst::effGetProgramNameIndexed, p, 0, name), 1) << p;
        EXPECT_GT(std::strlen(name), 0u) << p;
        EXPECT_LT(std::strlen(name), 24u) << p;
    }
    for (vst::int32 p : {16, -1, 1000}) EXPECT_EQ(e.dispatch(vst::effGetProgramNameIndexed, p, 0, name), 0) << p;

    e.dispatch(vst::effSetProgram, 0, 3);
    EXPECT_EQ(e.dispatch(vst::effGetProgram), 3);
    for (vst::VstIntPtr p : {vst::VstIntPtr{16}, vst::VstIntPtr{-1}, vst::VstIntPtr{1} << 40}) {
        e.dispatch(vst::effSetProgram, 0, p);
        EXPECT_EQ(e.dispatch(vst::effGetProgram), 3) << p;
    }
}

TEST_F(Dispatcher, ProgramNameIsCutToTwentyThreeCharacters) {
    char longName[] = "abcdefghijklmnopqrstuvwxyz0123";  // 30 characters
    e.dispatch(vst::effSetProgramName, 0, 0, longName);
    EXPECT_EQ(e.text(vst::effGetProgramName), "abcdefghijklmnopqrstuvw");
    char shortName[] = "Mine";
    e.dispatch(vst::effSetProgramName, 0, 0, shortName);
    EXPECT_EQ(e.text(vst::effGetProgramName), "Mine");
    char indexed[32] = {};
    e.dispatch(vst::effGetProgramNameIndexed, 0, 0, indexed);
    EXPECT_STREQ(indexed, "Mine");
}

TEST_F(Dispatcher, ParameterTextsExistForAllNineOnly) {
    for (vst::int32 i = 0; i < 9; ++i) {
        const std::string name = e.text(vst::effGetParamName, i);
        EXPECT_FALSE(name.empty()) << i;
        EXPECT_LE(name.size(), 8u) << i;  // hosts pass kVstMaxParamStrLen buffers
        EXPECT_FALSE(e.text(vst::effGetParamDisplay, i).empty()) << i;
    }
    EXPECT_EQ(e.text(vst::effGetParamName, 9), "**");
    EXPECT_EQ(e.text(vst::effGetParamName, -1), "**");
    EXPECT_EQ(e.text(vst::effGetParamLabel, 9), "");
    EXPECT_EQ(e.text(vst::effGetParamDisplay, 9), "");
}

TEST_F(Dispatcher, ParameterValuesAreStoredOnTheGrid) {
    for (vst::int32 i = 0; i < 9; ++i) {
        e->setParameter(e.get(), i, 0.5f);
        EXPECT_EQ(e->getParameter(e.get(), i), 0.5f) << i;
        e->setParameter(e.get(), i, 1.0f / 3.0f);
        const float stored = e->getParameter(e.get(), i);
        EXPECT_NEAR(stored, 1.0f / 3.0f, 1.0 / 64000) << i;
        // A value read back and written again stays put.
        e->setParameter(e.get(), i, stored);
        EXPECT_EQ(e->getParameter(e.get(), i), stored) << i;
    }
    e->setParameter(e.get(), 9, 0.5f);
    e->setParameter(e.get(), -1, 0.5f);
    EXPECT_EQ(e->getParameter(e.get(), 9), 0.0f);
    EXPECT_EQ(e->getParameter(e.get(), -1), 0.0f);
}

TEST_F(Dispatcher, PointerOpcodesWithoutAPointerAnswerZero) {
    for (vst::int32 opcode : {vst::effGetEffectName, vst::effGetVendorString, vst::effGetProductString,
                              vst::effGetProgramName, vst::effGetParamName, vst::effGetParamDisplay,
                              vst::effGetParamLabel, vst::effGetProgramNameIndexed, vst::effSetProgramName})
        EXPECT_EQ(e.dispatch(opcode, 0, 0, nullptr), 0) << opcode;
}

}  // namespace
