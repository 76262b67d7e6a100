// The platform's file calls behind the defaults file, in a temporary folder.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "services/user_files.h"

namespace fs = std::filesystem;
using Services::readWholeFile;
using Services::replaceFile;

namespace {

class UserFiles : public ::testing::Test {
protected:
    void SetUp() override {
        // Test processes run side by side: each needs a folder of its own.
        folder = fs::temp_directory_path() / ("tallow-files-" + std::to_string(std::random_device{}()) + "-" +
                                              std::to_string(std::random_device{}()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        file = (folder / "state.defaults").string();
    }
    void TearDown() override {
        Services::simulateDiskSpace(SIZE_MAX);
        fs::remove_all(folder);
    }
    int entries() {
        int n = 0;
        for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++n;
        return n;
    }
    fs::path folder;
    std::string file;
};

}  // namespace

TEST_F(UserFiles, ReplaceThenReadGivesTheBytesBack) {
    const std::string bytes("binary\0state\xff", 13);
    ASSERT_TRUE(replaceFile(file, bytes));
    ASSERT_TRUE(replaceFile(file, bytes + bytes));  // over an existing file
    std::string back = "untouched";
    ASSERT_TRUE(readWholeFile(file, 1000, back));
    EXPECT_EQ(back, bytes + bytes);
    EXPECT_EQ(entries(), 1);
}

TEST_F(UserFiles, ReadRefusesMissingAndTooLargeFiles) {
    std::string back = "untouched";
    EXPECT_FALSE(readWholeFile(file, 1000, back));
    ASSERT_TRUE(replaceFile(file, std::string(100, 'x')));
    EXPECT_FALSE(readWholeFile(file, 100, back));
    EXPECT_EQ(back, "untouched");
    EXPECT_TRUE(readWholeFile(file, 101, back));
    EXPECT_EQ(back.size(), 100u);
    ASSERT_TRUE(replaceFile(file, ""));
    EXPECT_TRUE(readWholeFile(file, 101, back));
    EXPECT_TRUE(back.empty());
}

TEST_F(UserFiles, FailedWriteKeepsTheOldFile) {
    ASSERT_TRUE(replaceFile(file, "old defaults"));
    for (std::size_t space : {std::size_t(0), std::size_t(5)}) {
        Services::simulateDiskSpace(space);
        EXPECT_FALSE(replaceFile(file, "new defaults, longer than the space left"));
        Services::simulateDiskSpace(SIZE_MAX);
        std::string back;
        ASSERT_TRUE(readWholeFile(file, 1000, back));
        EXPECT_EQ(back, "old defaults");
        EXPECT_EQ(entries(), 1);
    }
}

TEST_F(UserFiles, MissingFolderFailsCleanly) {
    EXPECT_FALSE(replaceFile((folder / "absent" / "x.defaults").string(), "bytes"));
    EXPECT_EQ(entries(), 0);
}

TEST_F(UserFiles, MakeFolderAcceptsAnExistingFolderOnly) {
    const std::string sub = Services::joinPath(folder.string(), "Corvelight");
    EXPECT_TRUE(Services::makeFolder(sub));
    EXPECT_TRUE(Services::makeFolder(sub));
    EXPECT_TRUE(fs::is_directory(sub));
    ASSERT_TRUE(replaceFile(file, "x"));
    EXPECT_FALSE(Services::makeFolder(file));
}
