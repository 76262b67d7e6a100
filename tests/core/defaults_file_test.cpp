#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "services/user_files.h"
#include "scoped_env.h"
#include "state_fixture.h"

// Both platforms: the defaults file sits in the vendor's folder under the
// user's settings folder, named after the effect.
TEST(DefaultsPath, EndsInTheVendorFolderWithTheEffectsName) {
    StateTest::TestPlug plug;
    const std::string path = plug.defaultsFilePath(false);
    const std::string leaf = Services::joinPath("Corvelight", "Test Effect.defaults");
    ASSERT_GT(path.size(), leaf.size());
    EXPECT_EQ(path.substr(path.size() - leaf.size()), leaf);
    EXPECT_EQ(path.substr(0, path.size() - leaf.size() - 1), Services::userSettingsFolder());
}

#ifndef _WIN32

using StateTest::ChunkBuilder;
using StateTest::PromptRecorder;
using StateTest::stepOf;
using StateTest::TestPlug;
namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Every test gets a settings folder of its own; the user's real one is never touched.
class DefaultsFile : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tallow-defaults-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        home.emplace("HOME", std::getenv("HOME"));
        xdg.emplace("XDG_CONFIG_HOME", folder.c_str());
        file = folder / "Corvelight" / "Test Effect.defaults";
    }
    void TearDown() override {
        Services::simulateDiskSpace(SIZE_MAX);
        xdg.reset();
        home.reset();
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder);
    }
    std::vector<float> resetTargets(TestPlug& plug) {
        std::vector<float> targets;
        for (std::uint32_t i = 0; i < 9; ++i) targets.push_back(plug.parameters()[i].defaultValue.load());
        return targets;
    }
    std::vector<float> values(TestPlug& plug) {
        std::vector<float> v;
        for (int i = 0; i < 9; ++i) v.push_back(std::fabs(plug.getParameter(i)));
        return v;
    }
    int filesInFolder() {
        int n = 0;
        for ([[maybe_unused]] const auto& e : fs::directory_iterator(file.parent_path())) ++n;
        return n;
    }

    fs::path folder;
    fs::path file;
    std::optional<TallowTest::ScopedEnv> home, xdg;  // tests may change both; both come back
};

}  // namespace

// ---- where the file lives -------------------------------------------------------------------------

TEST_F(DefaultsFile, PathFollowsXdgConfigHome) {
    TestPlug plug;
    EXPECT_EQ(plug.defaultsFilePath(false), file.string());
}

TEST_F(DefaultsFile, EmptyOrRelativeXdgConfigHomeFallsBackToDotConfig) {
    setenv("HOME", folder.c_str(), 1);
    TestPlug plug;
    for (const char* xdg : {"", "relative/config"}) {
        setenv("XDG_CONFIG_HOME", xdg, 1);
        EXPECT_EQ(plug.defaultsFilePath(false), (folder / ".config" / "Corvelight" / "Test Effect.defaults").string());
    }
    unsetenv("XDG_CONFIG_HOME");
    // ~/.config does not exist yet: saving makes it.
    EXPECT_TRUE(plug.saveDefaultsFile());
    EXPECT_TRUE(fs::exists(folder / ".config" / "Corvelight" / "Test Effect.defaults"));
}

// ---- saving and loading ------------------------------------------------------------------------------

TEST_F(DefaultsFile, SavedStateStartsTheNextInstance) {
    TestPlug first;
    first.setProgram(6);
    first.setParameter(3, 0.8f);
    char name[] = "Mine";
    first.setProgramName(name);
    first.parameters().assignController(4, static_cast<std::int16_t>(0xB000 + 21));
    ASSERT_TRUE(first.saveDefaultsFile());
    EXPECT_EQ(readFile(file), first.bankChunk());
    EXPECT_EQ(resetTargets(first), values(first));

    TestPlug second;
    second.loadDefaultsFile();
    EXPECT_EQ(second.bankChunk(), first.bankChunk());
    EXPECT_EQ(second.getProgram(), 6);
    EXPECT_STREQ(second.program(6).name, "Mine");
    EXPECT_EQ(second.parameters()[4].controllerKey.load(), static_cast<std::int16_t>(0xB000 + 21));
    EXPECT_EQ(resetTargets(second), values(first));
}

TEST_F(DefaultsFile, MissingFileChangesNothing) {
    PromptRecorder prompts;
    TestPlug plug;
    auto targets = resetTargets(plug);
    plug.setParameter(0, 0.9f);
    plug.loadDefaultsFile();
    EXPECT_EQ(resetTargets(plug), targets);
    EXPECT_EQ(stepOf(plug.getParameter(0)), stepOf(0.9f));
    EXPECT_TRUE(prompts.prompts.empty());
}

TEST_F(DefaultsFile, EmptyFileSaysNoHeaderAndStillTakesDefaults) {
    PromptRecorder prompts;
    writeFile(file, "");
    TestPlug plug;
    plug.setParameter(0, 0.9f);
    plug.loadDefaultsFile();
    ASSERT_EQ(prompts.prompts.size(), 1u);
    EXPECT_EQ(prompts.prompts[0].text, "Error loading chunk: No header");
    EXPECT_EQ(resetTargets(plug), values(plug));
    EXPECT_EQ(plug.parameters()[0].defaultValue.load(), PlugCore::quantise(0.9f));
}

TEST_F(DefaultsFile, DamagedFileKeepsWhatCameBeforeTheDamage) {
    PromptRecorder prompts;
    writeFile(file, ChunkBuilder().header().parameter(2, 1000).raw({9, 9}).parameter(3, 2000).bytes);
    TestPlug plug;
    plug.loadDefaultsFile();
    ASSERT_EQ(prompts.prompts.size(), 1u);
    EXPECT_EQ(stepOf(plug.getParameter(2)), 1000);
    EXPECT_EQ(stepOf(plug.parameters()[2].defaultValue.load()), 1000);
    EXPECT_NE(stepOf(plug.getParameter(3)), 2000);
}

TEST_F(DefaultsFile, AnotherEffectsFileAsksFirst) {
    PromptRecorder prompts(0);
    TestPlug other("Other Effect");
    other.setParameter(1, 0.7f);
    writeFile(file, other.bankChunk());
    TestPlug plug;
    plug.loadDefaultsFile();
    ASSERT_EQ(prompts.prompts.size(), 1u);
    EXPECT_EQ(prompts.prompts[0].kind, Services::kPromptQuestion);
    EXPECT_NE(stepOf(plug.getParameter(1)), stepOf(0.7f));
}

// A file of 1 MiB or more is not read at all; one byte less is.
TEST_F(DefaultsFile, OneMebibyteLimit) {
    auto fileOfSize = [](std::size_t size) {
        ChunkBuilder b;
        b.header();
        while (b.bytes.size() + 4 <= size) b.parameter(5, 4321);
        b.bytes.resize(size, '\x07');  // an unknown record fills the rest
        return b.bytes;
    };
    {
        PromptRecorder prompts;
        writeFile(file, fileOfSize(1048576));
        TestPlug plug;
        plug.loadDefaultsFile();
        EXPECT_TRUE(prompts.prompts.empty());
        EXPECT_NE(stepOf(plug.getParameter(5)), 4321);
    }
    {
        PromptRecorder prompts;
        writeFile(file, fileOfSize(1048575));
        TestPlug plug;
        plug.loadDefaultsFile();
        ASSERT_EQ(prompts.prompts.size(), 1u);  // the three bytes at the end are no record
        EXPECT_EQ(prompts.prompts[0].text, "Error loading chunk: Chunk appears corrupted.");
        EXPECT_EQ(stepOf(plug.getParameter(5)), 4321);
        EXPECT_EQ(stepOf(plug.parameters()[5].defaultValue.load()), 4321);
    }
}

// ---- failed saves never cost the user the defaults they had ---------------------------------------

TEST_F(DefaultsFile, FullDiskLeavesTheOldFileAndTargets) {
    TestPlug plug;
    plug.setParameter(0, 0.3f);
    ASSERT_TRUE(plug.saveDefaultsFile());
    const std::string saved = readFile(file);
    const auto targets = resetTargets(plug);

    for (std::size_t space : {std::size_t(0), std::size_t(100), std::size_t(1069)}) {
        plug.setParameter(0, 0.6f);
        Services::simulateDiskSpace(space);
        EXPECT_FALSE(plug.saveDefaultsFile()) << space;
        Services::simulateDiskSpace(SIZE_MAX);
        EXPECT_EQ(readFile(file), saved);
        EXPECT_EQ(resetTargets(plug), targets);
        EXPECT_EQ(filesInFolder(), 1);  // no temporary file left behind
    }
    Services::simulateDiskSpace(1070);  // exactly enough
    EXPECT_TRUE(plug.saveDefaultsFile());
    Services::simulateDiskSpace(SIZE_MAX);
    EXPECT_EQ(readFile(file), plug.bankChunk());
}

TEST_F(DefaultsFile, UnusableFolderFailsWithoutTakingDefaults) {
    writeFile(folder / "Corvelight", "a file where the folder should be");
    TestPlug plug;
    plug.setParameter(0, 0.6f);
    const auto targets = resetTargets(plug);
    EXPECT_FALSE(plug.saveDefaultsFile());
    EXPECT_EQ(resetTargets(plug), targets);
    EXPECT_EQ(readFile(folder / "Corvelight"), "a file where the folder should be");
}

TEST_F(DefaultsFile, FolderInPlaceOfTheFileIsLeftAlone) {
    fs::create_directories(file);
    PromptRecorder prompts;
    TestPlug plug;
    plug.loadDefaultsFile();  // a folder is not read as a file
    EXPECT_TRUE(prompts.prompts.empty());
    EXPECT_FALSE(plug.saveDefaultsFile());
    EXPECT_TRUE(fs::is_directory(file));
    EXPECT_EQ(filesInFolder(), 1);
}

#endif  // _WIN32
