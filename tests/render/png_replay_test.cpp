// Replays the fuzz target's seeds and the inputs that once broke it.
#include "render/png/png_decoder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace {

namespace fs = std::filesystem;

std::vector<unsigned char> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<fs::path> filesIn(const char* folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fs::path(TALLOW_SOURCE_DIR) / folder))
        if (entry.is_regular_file()) files.push_back(entry.path());
    return files;
}

// The fuzz target's own checks: the two output forms agree, sizes match.
unsigned decodeChecked(const std::vector<unsigned char>& bytes) {
    std::vector<unsigned char> rgba, packed;
    unsigned w = 0, h = 0, w2 = 0, h2 = 0;
    unsigned error = Paintwell::decodePNG(rgba, w, h, bytes.data(), bytes.size(), true);
    unsigned error2 = Paintwell::decodePNG(packed, w2, h2, bytes.data(), bytes.size(), false);
    EXPECT_EQ(w, w2);
    EXPECT_EQ(h, h2);
    if (error == 0) EXPECT_EQ(rgba.size(), std::size_t{w} * h * 4);
    else
        EXPECT_TRUE(rgba.empty());
    bool paletteError = error == Paintwell::kPngPaletteIndex8 || error == Paintwell::kPngPaletteIndexPacked;
    EXPECT_EQ(error2, paletteError ? 0u : error);
    return error;
}

TEST(PngReplay, EverySeedDecodes) {
    auto seeds = filesIn("fuzz/seeds/png");
    EXPECT_GE(seeds.size(), 40u);
    for (const auto& path : seeds) {
        SCOPED_TRACE(path.filename().string());
        auto bytes = readFile(path);
        EXPECT_EQ(decodeChecked(bytes), 0u);
    }
}

TEST(PngReplay, PastCrashersGiveTheirErrorCodes) {
    const std::map<std::string, unsigned> expected = {
        {"filter-36-after-palette-index.png", Paintwell::kPngBadFilterType},
    };
    auto crashers = filesIn("fuzz/crashers/png");
    EXPECT_EQ(crashers.size(), expected.size());
    for (const auto& path : crashers) {
        SCOPED_TRACE(path.filename().string());
        auto it = expected.find(path.filename().string());
        ASSERT_NE(it, expected.end()) << "add the new crasher's expected code here";
        EXPECT_EQ(decodeChecked(readFile(path)), it->second);
    }
}

}  // namespace
