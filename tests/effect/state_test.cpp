#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/platform/platform.h"
#include "effect/reed.h"
#include "effect/reed_parameters.h"
#include "../core/state_fixture.h"

using StateTest::PromptRecorder;
using StateTest::stepOf;

namespace {

std::string chunkOf(Reed& reed, bool isPreset) {
    void* data = nullptr;
    auto size = reed.getAeffect()->dispatcher(reed.getAeffect(), vst::effGetChunk, isPreset ? 1 : 0, 0, &data, 0.0f);
    return std::string(static_cast<const char*>(data), static_cast<std::size_t>(size));
}

std::string factoryChunk() {
    auto r = PlugCore::platform::findResource("FXB", "FactoryBank");
    return r.size() > 160 ? std::string(reinterpret_cast<const char*>(r.data()) + 160, r.size() - 160) : std::string();
}

vst::VstIntPtr host(vst::AEffect*, vst::int32 opcode, vst::int32, vst::VstIntPtr, void*, float) {
    return opcode == vst::audioMasterVersion ? 2400 : 0;
}

#ifdef _WIN32
// Windows keeps the defaults in the application-data folder of the (Wine) user.
class ReedState : public ::testing::Test {};
#else
// Each test starts with a settings folder of its own, empty unless the test fills it.
class ReedState : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tallow-reed-state-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        const char* xdg = std::getenv("XDG_CONFIG_HOME");
        hadXdg = xdg != nullptr;
        savedXdg = xdg ? xdg : "";
        setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    }
    void TearDown() override {
        if (hadXdg) setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
        else unsetenv("XDG_CONFIG_HOME");
        std::filesystem::remove_all(folder);
    }
    std::string folder;
    std::string savedXdg;
    bool hadXdg = false;
};
#endif

}  // namespace

TEST_F(ReedState, FreshInstanceStartsInTheFirstFactoryProgram) {
#ifdef _WIN32
    Reed probe(host);
    if (!probe.defaultsFilePath(false).empty() && std::filesystem::exists(probe.defaultsFilePath(false)))
        GTEST_SKIP() << "a defaults file exists for this user";
#endif
    PromptRecorder prompts;
    Reed reed(host);
    EXPECT_TRUE(prompts.prompts.empty());
    vst::AEffect* e = reed.getAeffect();
    EXPECT_EQ(e->dispatcher(e, vst::effGetProgram, 0, 0, nullptr, 0.0f), 0);
    char name[64] = {};
    e->dispatcher(e, vst::effGetProgramName, 0, 0, name, 0.0f);
    EXPECT_STREQ(name, "Short, but not subtle");
    EXPECT_EQ(stepOf(e->getParameter(e, ReedParams::kDelay)), 48160);
    EXPECT_EQ(stepOf(e->getParameter(e, ReedParams::kInvert)), 64000);
    EXPECT_EQ(stepOf(e->getParameter(e, ReedParams::kRange)), 21333);
    const std::string bank = chunkOf(reed, false);
    EXPECT_EQ(bank.size(), 1070u);
    EXPECT_EQ(bank, factoryChunk());
    EXPECT_EQ(chunkOf(reed, true).size(), 76u);
    // The reset targets stay the defined defaults until a defaults file is read.
    EXPECT_FLOAT_EQ(reed.parameters()[ReedParams::kPhase].defaultValue.load(), 0.25f);
}

TEST_F(ReedState, FactoryProgramsCarryTheirNames) {
    PromptRecorder prompts;
    Reed reed(host);
    const char* const names[16] = {"Short, but not subtle", "Somewhat more full", "Vintage?", "Extreme wobble",
                                   "Basic string-stuff", "Saw to PWM", "For organ?", "pitch eliminator",
                                   "kinda unstable", "stereo unstability", "more subtle stereo", "Init patch",
                                   "Faster flange wannabe", "Slower flange wannabe", "Almost mono vibrato",
                                   "Expensive delay-panner"};
    char name[64];
    for (int p = 0; p < 16; ++p) {
        ASSERT_TRUE(reed.getProgramNameIndexed(0, p, name));
        EXPECT_STREQ(name, names[p]);
    }
    reed.setProgram(14);
    EXPECT_EQ(stepOf(reed.getParameter(ReedParams::kPhase)), 5392);
    EXPECT_EQ(stepOf(reed.getParameter(ReedParams::kRate)), 49600);
}

#ifndef _WIN32
TEST_F(ReedState, SavedDefaultsStartTheNextInstance) {
    PromptRecorder prompts;
    std::string saved;
    {
        Reed reed(host);
        reed.setProgram(3);
        reed.setParameter(ReedParams::kWet, 0.2f);
        reed.parameters().assignController(ReedParams::kDepth, static_cast<std::int16_t>(0xB000 + 1));
        ASSERT_TRUE(reed.saveDefaultsFile());
        saved = chunkOf(reed, false);
    }
    Reed next(host);
    EXPECT_EQ(chunkOf(next, false), saved);
    EXPECT_EQ(next.getProgram(), 3);
    EXPECT_EQ(next.parameters()[ReedParams::kWet].defaultValue.load(), PlugCore::quantise(0.2f));
    EXPECT_EQ(next.parameters()[ReedParams::kDepth].controllerKey.load(), static_cast<std::int16_t>(0xB001));

    // Loading factory defaults after edits restores the bank, not the reset targets.
    next.setParameter(ReedParams::kWet, 0.9f);
    next.loadFactoryBank();
    EXPECT_EQ(chunkOf(next, false).substr(0, 1070 - 9 * 4), factoryChunk().substr(0, 1070 - 9 * 4));
    EXPECT_EQ(stepOf(next.getParameter(ReedParams::kWet)), 32000);
    EXPECT_EQ(next.parameters()[ReedParams::kWet].defaultValue.load(), PlugCore::quantise(0.2f));
}
#endif
