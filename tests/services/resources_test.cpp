#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "services/resources.h"

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string bytesOf(std::span<const unsigned char> resource) {
    return std::string(reinterpret_cast<const char*>(resource.data()), resource.size());
}

}  // namespace

TEST(ModuleResources, FactoryBankIsTheCheckedInFile) {
    std::string file = readFile(TALLOW_SOURCE_DIR "/resources/FactoryBank.fxb");
    ASSERT_EQ(file.size(), 1230u);
    EXPECT_EQ(bytesOf(Services::findResource("FXB", "FactoryBank")), file);
}

TEST(ModuleResources, VeraFaceIsEmbeddedWhole) {
    std::string file = readFile(TALLOW_BINARY_DIR "/resources/Vera.ttf");
    ASSERT_GT(file.size(), 10000u);
    auto face = Services::findResource("TTF", "Vera");
    ASSERT_EQ(face.size(), file.size());
    EXPECT_EQ(bytesOf(face), file);
    EXPECT_EQ(bytesOf(face.first(4)), std::string("\x00\x01\x00\x00", 4));  // a TrueType outline font
}

TEST(ModuleResources, LookupIgnoresCaseLikeWindows) {
    EXPECT_EQ(Services::findResource("fxb", "FACTORYBANK").size(), 1230u);
}

TEST(ModuleResources, UnknownResourcesAreEmpty) {
    EXPECT_TRUE(Services::findResource("FXB", "FactoryBanks").empty());
    EXPECT_TRUE(Services::findResource("TTF", "FactoryBank").empty());
    EXPECT_TRUE(Services::findResource("", "").empty());
    EXPECT_TRUE(Services::findResource(nullptr, "Vera").empty());
}
