// The real effect's state across instances through the user's defaults file.
// (What a host sees of a fresh instance is checked by the host harness.)
#include <gtest/gtest.h>

#ifndef _WIN32

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "effect/reed.h"
#include "effect/reed_parameters.h"
#include "services/resources.h"
#include "../core/scoped_env.h"
#include "../core/state_fixture.h"

using StateTest::PromptRecorder;
using StateTest::stepOf;

namespace {

std::string chunkOf(Reed& reed) {
    std::string bytes;
    reed.writeChunk(false, bytes);
    return bytes;
}

std::string factoryChunk() {
    auto r = Services::findResource("FXB", "FactoryBank");
    return r.size() > 160 ? std::string(reinterpret_cast<const char*>(r.data()) + 160, r.size() - 160) : std::string();
}

// Each test starts with an empty settings folder of its own.
class ReedState : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tallow-reed-state-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        xdg.emplace("XDG_CONFIG_HOME", folder.c_str());
    }
    void TearDown() override {
        xdg.reset();
        std::filesystem::remove_all(folder);
    }
    std::string folder;
    std::optional<TallowTest::ScopedEnv> xdg;
};

}  // namespace

TEST_F(ReedState, WithoutDefaultsFileResetTargetsAreTheDefinedDefaults) {
    PromptRecorder prompts;
    Reed reed(nullptr);
    EXPECT_EQ(chunkOf(reed), factoryChunk());
    EXPECT_FLOAT_EQ(reed.parameters()[ReedParams::kPhase].defaultValue.load(), 0.25f);
    EXPECT_FLOAT_EQ(reed.parameters()[ReedParams::kRange].defaultValue.load(), 0.67f);
}

TEST_F(ReedState, SavedDefaultsStartTheNextInstance) {
    PromptRecorder prompts;
    std::string saved;
    {
        Reed reed(nullptr);
        reed.setProgram(3);
        reed.setParameter(ReedParams::kWet, 0.2f);
        reed.parameters().assignController(ReedParams::kDepth, static_cast<std::int16_t>(0xB000 + 1));
        ASSERT_TRUE(reed.saveDefaultsFile());
        saved = chunkOf(reed);
    }
    Reed next(nullptr);
    EXPECT_EQ(chunkOf(next), saved);
    EXPECT_EQ(next.getProgram(), 3);
    EXPECT_EQ(next.parameters()[ReedParams::kWet].defaultValue.load(), PlugCore::quantise(0.2f));
    EXPECT_EQ(next.parameters()[ReedParams::kDepth].controllerKey.load(), static_cast<std::int16_t>(0xB001));

    // Loading factory defaults after edits restores the bank, not the reset targets.
    next.setParameter(ReedParams::kWet, 0.9f);
    next.loadFactoryBank();
    EXPECT_EQ(chunkOf(next).substr(0, 1070 - 9 * 4), factoryChunk().substr(0, 1070 - 9 * 4));
    EXPECT_EQ(stepOf(next.getParameter(ReedParams::kWet)), 32000);
    EXPECT_EQ(next.parameters()[ReedParams::kWet].defaultValue.load(), PlugCore::quantise(0.2f));
}

#endif  // _WIN32
