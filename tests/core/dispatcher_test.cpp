#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "test_plug.h"

using testing_support::TestPlug;

namespace {

class Dispatcher : public ::testing::Test {
protected:
    vst::VstIntPtr call(vst::int32 opcode, vst::int32 index = 0, vst::VstIntPtr value = 0, void* ptr = nullptr,
                        float opt = 0) {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }
    std::string text(vst::int32 opcode, vst::int32 index = 0) {
        char buffer[256];
        std::memset(buffer, '#', sizeof buffer);
        buffer[255] = 0;
        call(opcode, index, 0, buffer);
        return buffer;
    }
    TestPlug* plug = new TestPlug(nullptr, 3);
    vst::AEffect* effect = plug->getAeffect();

    void TearDown() override { call(vst::effClose); }
};

}  // namespace

TEST(UniqueId, HashedFromTheName) {
    EXPECT_EQ(PlugCore::hashName("Tallow Reed"), static_cast<std::int32_t>(0x7EA3B6D8));
    EXPECT_EQ(PlugCore::hashName(""), 5381);
}

TEST_F(Dispatcher, HostRecordAsFilled) {
    EXPECT_EQ(effect->magic, vst::kEffectMagic);
    EXPECT_EQ(effect->numPrograms, 16);
    EXPECT_EQ(effect->numParams, 3);
    EXPECT_EQ(effect->numInputs, 2);
    EXPECT_EQ(effect->numOutputs, 2);
    EXPECT_EQ(effect->flags, 0x1030);  // no editor
    EXPECT_EQ(effect->uniqueID, PlugCore::hashName("Test Plug"));
    EXPECT_EQ(effect->version, 1);
    EXPECT_EQ(effect->ioRatio, 1.0f);
    EXPECT_EQ(effect->initialDelay, 0);
    EXPECT_EQ(effect->object, plug);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(plug) % 16, 0u);
}

TEST_F(Dispatcher, IdentityStrings) {
    EXPECT_EQ(text(vst::effGetEffectName), "Test Plug");
    EXPECT_EQ(text(vst::effGetVendorString), "Corvelight");
    EXPECT_EQ(text(vst::effGetProductString), "Corvelight Test Plug");
    EXPECT_EQ(call(vst::effGetVstVersion), 2400);
    EXPECT_EQ(call(vst::effGetPlugCategory), 0);
    EXPECT_EQ(call(vst::effIdentify), vst::fourCC('N', 'v', 'E', 'f'));
}

TEST_F(Dispatcher, FixedAnswers) {
    EXPECT_EQ(call(vst::effOpen), 0);
    EXPECT_EQ(call(vst::effGetVu), 0);
    EXPECT_EQ(call(vst::effCanBeAutomated, 2), 1);
    EXPECT_EQ(call(vst::effGetNumProgramCategories), 1);
    EXPECT_EQ(call(vst::effConnectInput), 1);
    EXPECT_EQ(call(vst::effConnectOutput), 1);
    EXPECT_EQ(call(vst::effGetVendorVersion), 0);
    EXPECT_EQ(call(vst::effGetTailSize), 0);
    EXPECT_EQ(call(vst::effGetParameterProperties, 0, 0, plug), 0);
    EXPECT_EQ(call(vst::effKeysRequired), 1);
    EXPECT_EQ(call(vst::effGetCurrentMidiProgram), -1);
    EXPECT_EQ(call(vst::effSetTotalSampleToProcess, 0, 123456), 123456);
    // Editor opcodes answer 0 without an editor.
    vst::ERect* rect = nullptr;
    EXPECT_EQ(call(vst::effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(call(vst::effEditOpen, 0, 0, plug), 0);
    EXPECT_EQ(call(vst::effEditKeyDown), 0);
}

TEST_F(Dispatcher, UnknownOpcodesAnswerZero) {
    for (vst::int32 op : {16, 17, 18, 20, 21, 27, 30, 36, 37, 38, 39, 40, 41, 42, 44, 46, 53, 54, 55, 62, 64, 65, 66,
                          67, 68, 70, 71, 72, 74, 75, 76, 77, 78, 79, 80, 1000, -1}) {
        EXPECT_EQ(call(op, 1, 1, nullptr, 1.0f), 0) << op;
    }
}

TEST_F(Dispatcher, CanDoIsExact) {
    auto canDo = [&](const char* s) { return call(vst::effCanDo, 0, 0, const_cast<char*>(s)); };
    EXPECT_EQ(canDo("receiveVstEvents"), 1);
    EXPECT_EQ(canDo("receiveVstMidiEvent"), 1);
    EXPECT_EQ(canDo("receiveVstTimeInfo"), 1);
    EXPECT_EQ(canDo("sendVstMidiEvent"), 0);
    EXPECT_EQ(canDo("sendVstEvents"), 0);
    EXPECT_EQ(canDo("receiveVstEvents "), 0);
    EXPECT_EQ(canDo("ReceiveVstEvents"), 0);
}

TEST_F(Dispatcher, PinProperties) {
    vst::VstPinProperties pin{};
    std::strcpy(pin.shortLabel, "keep");
    pin.arrangementType = 77;
    EXPECT_EQ(call(vst::effGetInputProperties, 0, 0, &pin), 1);
    EXPECT_STREQ(pin.label, "Main L");
    EXPECT_EQ(pin.flags, 3);
    EXPECT_STREQ(pin.shortLabel, "keep");
    EXPECT_EQ(pin.arrangementType, 77);
    EXPECT_EQ(call(vst::effGetOutputProperties, 1, 0, &pin), 1);
    EXPECT_STREQ(pin.label, "Main R");
    std::strcpy(pin.label, "untouched");
    EXPECT_EQ(call(vst::effGetInputProperties, 2, 0, &pin), 0);
    EXPECT_EQ(call(vst::effGetInputProperties, -1, 0, &pin), 0);
    EXPECT_EQ(call(vst::effGetOutputProperties, -2, 0, &pin), 0);
    EXPECT_STREQ(pin.label, "untouched");
}

TEST_F(Dispatcher, SpeakerArrangementIsCleared) {
    int dummy = 0;
    auto* in = reinterpret_cast<vst::VstSpeakerArrangement*>(&dummy);
    auto* out = in;
    EXPECT_EQ(call(vst::effGetSpeakerArrangement, 0, reinterpret_cast<vst::VstIntPtr>(&in), &out), 0);
    EXPECT_EQ(in, nullptr);
    EXPECT_EQ(out, nullptr);
}

TEST_F(Dispatcher, ParameterTexts) {
    plug->parameters().defineParameter(0, "delay", "ms", 0.5f);
    plug->parameters().defineParameter(1, "shape", "", 0.25f);
    EXPECT_EQ(text(vst::effGetParamName, 0), "delay");
    EXPECT_EQ(text(vst::effGetParamName, 2), "**");   // no name
    EXPECT_EQ(text(vst::effGetParamName, 12), "**");  // beyond the table
    EXPECT_EQ(text(vst::effGetParamLabel, 0), "ms");
    EXPECT_EQ(text(vst::effGetParamLabel, 12), "");
    EXPECT_EQ(text(vst::effGetParamDisplay, 0), "0.50");
    EXPECT_EQ(text(vst::effGetParamDisplay, 12)[0], '#');  // untouched

    char buffer[64];
    plug->getParameterText(0, 0.25f, buffer);
    EXPECT_STREQ(buffer, "0.25 ms");
    plug->getParameterText(1, 0.25f, buffer);
    EXPECT_STREQ(buffer, "0.25");
}

TEST_F(Dispatcher, ProgramSelectionAndNames) {
    EXPECT_EQ(text(vst::effGetProgramName), "Init 1");
    call(vst::effSetProgram, 0, 16);
    call(vst::effSetProgram, 0, -1);
    EXPECT_EQ(call(vst::effGetProgram), 0);
    call(vst::effSetProgram, 0, 3);
    EXPECT_EQ(call(vst::effGetProgram), 3);
    char name[] = "A name of thirty characters!!";
    call(vst::effSetProgramName, 0, 0, name);
    EXPECT_EQ(text(vst::effGetProgramName), "A name of thirty charac");
    char indexed[64];
    EXPECT_EQ(call(vst::effGetProgramNameIndexed, 15, 0, indexed), 1);
    EXPECT_STREQ(indexed, "Init 16");
    EXPECT_EQ(call(vst::effGetProgramNameIndexed, 16, 0, indexed), 0);
}

TEST_F(Dispatcher, ProgramSwitchKeepsEdits) {
    plug->setParameter(0, 0.25f);
    call(vst::effSetProgram, 0, 3);
    plug->setParameter(0, 0.75f);
    call(vst::effSetProgram, 0, 0);
    EXPECT_EQ(plug->getParameter(0), PlugCore::quantise(0.25f));
    call(vst::effSetProgram, 0, 3);
    EXPECT_EQ(plug->getParameter(0), PlugCore::quantise(0.75f));
}

TEST_F(Dispatcher, SampleRateAndBlockSize) {
    call(vst::effSetSampleRate, 0, 0, nullptr, 96000.0f);
    EXPECT_EQ(plug->getSampleRate(), 96000.0f);
    EXPECT_EQ(call(vst::effSetBlockSizeAndSampleRate, 0, 64, nullptr, 48000.0f), 1);
    EXPECT_EQ(plug->getSampleRate(), 48000.0f);
    EXPECT_EQ(plug->getBlockSize(), 64);
    call(vst::effMainsChanged, 0, 1);
    EXPECT_EQ(plug->log, (std::vector<std::string>{"prepare", "reset"}));
    EXPECT_EQ(effect->initialDelay, 16);
    call(vst::effMainsChanged, 0, 0);  // suspend does nothing
    EXPECT_EQ(plug->log.size(), 2u);
}

TEST_F(Dispatcher, NullPointersAreRefused) {
    for (vst::int32 op : {vst::effGetProgramName, vst::effSetProgramName, vst::effGetParamName,
                          vst::effGetParamDisplay, vst::effGetParamLabel, vst::effGetEffectName,
                          vst::effGetVendorString, vst::effGetProductString, vst::effCanDo,
                          vst::effGetInputProperties, vst::effGetChunk, vst::effSetChunk,
                          vst::effGetProgramNameIndexed, vst::effGetSpeakerArrangement})
        EXPECT_EQ(call(op, 0, 0, nullptr), 0) << op;
}

TEST_F(Dispatcher, MouseWheelCallAnswersZeroWithoutAWindow) {
    EXPECT_EQ(call(vst::effVendorSpecific, vst::fourCC('s', 't', 'C', 'A'), vst::fourCC('W', 'h', 'e', 'e'), nullptr,
                   1.0f),
              0);
    EXPECT_EQ(call(vst::effVendorSpecific, 1, 2, nullptr, 1.0f), 0);
}
