// The core as any effect built on it sees it: identity derived from the
// effect's name, texts with labels, programs keeping their edits. What a host
// sees of the real module is checked by the host harness.
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

TEST_F(Dispatcher, ProgramSwitchKeepsEdits) {
    plug->setParameter(0, 0.25f);
    call(vst::effSetProgram, 0, 3);
    plug->setParameter(0, 0.75f);
    call(vst::effSetProgram, 0, 0);
    EXPECT_EQ(plug->getParameter(0), PlugCore::quantise(0.25f));
    call(vst::effSetProgram, 0, 3);
    EXPECT_EQ(plug->getParameter(0), PlugCore::quantise(0.75f));
}
