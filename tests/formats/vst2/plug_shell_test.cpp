// The VST 2.4 shell around any effect on the core: identity derived from the
// effect's name, texts with labels, programs keeping their edits, latency and
// time queries. What a host sees of the real module is checked by the host
// harness.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/test_plug.h"
#include "formats/vst2/plug_shell.h"

using testing_support::TestPlug;

namespace {

struct Host {
    static inline vst::VstTimeInfo time{};
    static inline std::vector<std::pair<vst::int32, vst::VstIntPtr>> calls;  // opcode and value
    static vst::VstIntPtr callback(vst::AEffect*, vst::int32 opcode, vst::int32, vst::VstIntPtr value, void*, float) {
        calls.emplace_back(opcode, value);
        return opcode == vst::audioMasterGetTime ? reinterpret_cast<vst::VstIntPtr>(&time) : 0;
    }
};

PlugCore::Plug* makeTestPlug(PlugCore::HostLink* host) { return new TestPlug(host, 3); }

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
    Vst2::PlugShell* shell = new Vst2::PlugShell(Host::callback, makeTestPlug);
    TestPlug* plug = static_cast<TestPlug*>(shell->plug());
    vst::AEffect* effect = shell->getAeffect();

    void TearDown() override { call(vst::effClose); }
};

}  // namespace

TEST(UniqueId, HashedFromTheName) {
    EXPECT_EQ(Vst2::hashName("Tallow Reed"), static_cast<std::int32_t>(0x7EA3B6D8));
    EXPECT_EQ(Vst2::hashName(""), 5381);
}

TEST_F(Dispatcher, HostRecordAsFilled) {
    EXPECT_EQ(effect->magic, vst::kEffectMagic);
    EXPECT_EQ(effect->numPrograms, 16);
    EXPECT_EQ(effect->numParams, 3);
    EXPECT_EQ(effect->numInputs, 2);
    EXPECT_EQ(effect->numOutputs, 2);
    EXPECT_EQ(effect->flags, 0x1030);  // no editor
    EXPECT_EQ(effect->uniqueID, Vst2::hashName("Test Plug"));
    EXPECT_EQ(effect->version, 1);
    EXPECT_EQ(effect->ioRatio, 1.0f);
    EXPECT_EQ(effect->initialDelay, 0);
    EXPECT_EQ(effect->object, static_cast<vst::AudioEffect*>(shell));
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(shell) % 16, 0u);
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

TEST_F(Dispatcher, ResumeReportsLatencyAndEachBlockAsksForTheTimeOnce) {
    call(vst::effMainsChanged, 0, 1);
    EXPECT_EQ(effect->initialDelay, 16);
    Host::calls.clear();
    double left[8] = {}, right[8] = {};
    double* io[2] = {left, right};
    effect->processDoubleReplacing(effect, io, io, 8);
    ASSERT_EQ(Host::calls.size(), 1u);
    EXPECT_EQ(Host::calls[0].first, vst::audioMasterGetTime);
    EXPECT_EQ(Host::calls[0].second, 0x602);  // tempo, position and playing
}
