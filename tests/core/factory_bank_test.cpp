#include <gtest/gtest.h>

#include <string>

#include "core/bank_file.h"
#include "formats/vst2/plug_shell.h"
#include "services/resources.h"
#include "state_fixture.h"

using StateTest::ChunkBuilder;
using StateTest::PromptRecorder;
using StateTest::stepOf;
using StateTest::TestPlug;

namespace {

std::span<const unsigned char> spanOf(const std::string& s) {
    return {reinterpret_cast<const unsigned char*>(s.data()), s.size()};
}

void putBigEndian(std::string& s, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(v >> (24 - 8 * i));
}

std::string resourceBytes() {
    auto r = Services::findResource("FXB", "FactoryBank");
    return std::string(reinterpret_cast<const char*>(r.data()), r.size());
}

}  // namespace

// ---- the resource itself, read byte by byte -----------------------------------------------------

TEST(FactoryBankResource, HeaderFields) {
    std::string bank = resourceBytes();
    ASSERT_EQ(bank.size(), 1230u);
    auto at = [&](std::size_t offset) { return PlugCore::bankfile::readBigEndian(spanOf(bank).data() + offset); };
    EXPECT_EQ(at(0), 0x43636E4Bu);  // CcnK
    EXPECT_EQ(at(4), 1222u);
    EXPECT_EQ(at(8), 0x46424368u);  // FBCh
    EXPECT_EQ(at(12), 1u);
    EXPECT_EQ(at(16), static_cast<std::uint32_t>(Vst2::hashName("Tallow Reed")));
    EXPECT_EQ(at(20), 1u);
    EXPECT_EQ(at(24), 16u);
    EXPECT_EQ(bank.substr(28, 128), std::string(128, '\0'));
    EXPECT_EQ(at(156), 1070u);
}

TEST(FactoryBankResource, FirstProgramRecords) {
    std::string bank = resourceBytes();
    ASSERT_EQ(bank.size(), 1230u);
    const std::string chunk = bank.substr(160);
    EXPECT_EQ(chunk.substr(0, 8), std::string("\x75\x3D\x8C\x28\x05\x00\x00\x00", 8));
    EXPECT_EQ(chunk.substr(8, 32), std::string("\x04Tallow Reed") + std::string(20, '\0'));
    const int steps[9] = {48160, 17760, 49760, 51680, 8640, 32000, 64000, 64000, 21333};
    for (int i = 0; i < 9; ++i) {
        const std::size_t r = 40 + 4 * i;
        EXPECT_EQ(chunk[r], 0);
        EXPECT_EQ(chunk[r + 1], i);
        EXPECT_EQ(static_cast<unsigned char>(chunk[r + 2]) | static_cast<unsigned char>(chunk[r + 3]) << 8, steps[i]);
    }
    EXPECT_EQ(chunk.substr(76, 26), std::string("\x02\x00Short, but not subtle\x00\x00\x00", 26));
}

// ---- loading ---------------------------------------------------------------------------------------

TEST(FactoryBank, FreshCoreLoadsItByteForByte) {
    PromptRecorder prompts;
    TestPlug plug("Tallow Reed");
    plug.loadFactoryBank();
    EXPECT_TRUE(prompts.prompts.empty());
    EXPECT_EQ(plug.getProgram(), 0);
    EXPECT_STREQ(plug.program(0).name, "Short, but not subtle");
    EXPECT_STREQ(plug.program(15).name, "Expensive delay-panner");
    EXPECT_EQ(stepOf(plug.getParameter(0)), 48160);
    EXPECT_EQ(stepOf(plug.getParameter(7)), 64000);
    EXPECT_EQ(stepOf(plug.program(14).values[4]), 5392);
    EXPECT_EQ(stepOf(plug.program(11).values[8]), 42880);
    EXPECT_EQ(plug.bankChunk(), resourceBytes().substr(160));
}

TEST(FactoryBank, LeavesResetTargetsAlone) {
    PromptRecorder prompts;
    TestPlug plug("Tallow Reed");
    plug.loadFactoryBank();
    EXPECT_FLOAT_EQ(plug.parameters()[4].defaultValue.load(), 0.4f);
}

TEST(FactoryBank, AnotherEffectAsksBeforeLoading) {
    PromptRecorder prompts(0);
    TestPlug plug;
    plug.setParameter(2, 0.5f);
    plug.loadFactoryBank();
    ASSERT_EQ(prompts.prompts.size(), 1u);
    EXPECT_EQ(prompts.prompts[0].text, "Trying to load a preset for \"Tallow Reed\"\nDo you want to continue?");
    // Answered No: every program holds the values the effect had, under its old name.
    EXPECT_STREQ(plug.program(9).name, "Init 10");
    EXPECT_EQ(plug.program(9).values[2], PlugCore::quantise(0.5f));
}

struct BadBank {
    const char* what;
    std::uint32_t offset;  // the header field to spoil, or UINT32_MAX to cut the file
    std::uint32_t value;
    const char* message;
};

class FactoryBankRejection : public ::testing::TestWithParam<BadBank> {};

// A damaged bank is reported with the effect's name as title, and nothing of it is loaded.
TEST_P(FactoryBankRejection, ReportsAndLoadsNothing) {
    PromptRecorder prompts;
    TestPlug source;
    source.setParameter(0, 0.25f);
    std::string file = PlugCore::bankfile::wrapBank(1, 16, source.bankChunk());
    const BadBank& bad = GetParam();
    if (bad.offset == UINT32_MAX) file.resize(bad.value);
    else
        putBigEndian(file, bad.offset, bad.value);

    TestPlug plug;
    std::string before = plug.bankChunk();
    plug.readFactoryBank(spanOf(file));
    EXPECT_EQ(plug.bankChunk(), before);
    ASSERT_EQ(prompts.prompts.size(), 1u);
    EXPECT_EQ(prompts.prompts[0].kind, Services::kPromptError);
    EXPECT_EQ(prompts.prompts[0].title, "Test Effect");
    EXPECT_EQ(prompts.prompts[0].text, bad.message);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, FactoryBankRejection,
    ::testing::Values(BadBank{"magic", 0, 0x43636E4C, "Bad chunk magic in factory bank!"},
                      BadBank{"empty", UINT32_MAX, 0, "Bad chunk magic in factory bank!"},
                      BadBank{"program kind", 8, 0x46504368, "Invalid chunk type in factory bank!"},
                      BadBank{"parameter bank", 8, 0x46784278, "Invalid chunk type in factory bank!"},
                      BadBank{"cut in header", UINT32_MAX, 100, "Truncated or corrupt factory bank!"},
                      BadBank{"cut in chunk", UINT32_MAX, 1000, "Truncated or corrupt factory bank!"},
                      BadBank{"byte size", 4, 1223, "Truncated or corrupt factory bank!"},
                      BadBank{"chunk size", 156, 1071, "Truncated or corrupt factory bank!"},
                      BadBank{"byte size wraps", 4, 0xFFFFFFF8, "Truncated or corrupt factory bank!"},
                      BadBank{"chunk size wraps", 156, 0xFFFFFFF0, "Truncated or corrupt factory bank!"}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& c : name)
            if (c == ' ') c = '_';
        return name;
    });

TEST(FactoryBank, ChunkErrorsInsideTheBankUseTheReadersMessage) {
    PromptRecorder prompts;
    std::string chunk = ChunkBuilder().header().name("Test Effect").parameter(3, 777).raw({9}).bytes;
    TestPlug plug;
    plug.readFactoryBank(spanOf(PlugCore::bankfile::wrapBank(1, 16, chunk)));
    EXPECT_EQ(stepOf(plug.getParameter(3)), 777);
    ASSERT_EQ(prompts.prompts.size(), 1u);
    EXPECT_EQ(prompts.prompts[0].text, "Error loading chunk: Chunk appears corrupted.");
}
