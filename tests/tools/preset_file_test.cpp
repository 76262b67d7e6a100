#include <gtest/gtest.h>

#include "tools/render_tool/preset_file.h"

using RenderTool::Bytes;
using RenderTool::PresetFile;

namespace {

std::uint32_t big(const Bytes& b, std::size_t at) {
    return (std::uint32_t(b[at]) << 24) | (std::uint32_t(b[at + 1]) << 16) | (std::uint32_t(b[at + 2]) << 8) |
           b[at + 3];
}

void putBig(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = std::uint8_t(v >> (24 - 8 * i));
}

PresetFile bank() {
    PresetFile p;
    p.isBank = true;
    p.fxID = 0x7EA3B6D8;
    p.fxVersion = 1;
    p.count = 16;
    for (int i = 0; i < 1070; ++i) p.chunk.push_back(std::uint8_t(i * 7));
    return p;
}

PresetFile program() {
    PresetFile p = bank();
    p.isBank = false;
    p.count = 9;
    p.programName = "Short, but not subtle";
    p.chunk.resize(76);
    return p;
}

std::string failure(const Bytes& file) {
    PresetFile p;
    std::string error;
    EXPECT_FALSE(RenderTool::parsePreset(file, p, error));
    return error;
}

TEST(PresetFile, BankHeaderFieldsSitWhereHostsReadThem) {
    const Bytes f = RenderTool::buildPreset(bank());
    ASSERT_EQ(f.size(), 160u + 1070u);
    EXPECT_EQ(big(f, 0), 0x43636E4Bu);   // 'CcnK'
    EXPECT_EQ(big(f, 4), f.size() - 8);  // byteSize counts what follows it
    EXPECT_EQ(big(f, 8), 0x46424368u);   // 'FBCh'
    EXPECT_EQ(big(f, 12), 1u);
    EXPECT_EQ(big(f, 16), 0x7EA3B6D8u);
    EXPECT_EQ(big(f, 20), 1u);
    EXPECT_EQ(big(f, 24), 16u);
    for (std::size_t i = 28; i < 156; ++i) ASSERT_EQ(f[i], 0) << "future byte " << i;
    EXPECT_EQ(big(f, 156), 1070u);
    EXPECT_EQ(Bytes(f.begin() + 160, f.end()), bank().chunk);
}

TEST(PresetFile, ProgramHeaderCarriesTheNameAndChunkSize) {
    const Bytes f = RenderTool::buildPreset(program());
    ASSERT_EQ(f.size(), 60u + 76u);
    EXPECT_EQ(big(f, 8), 0x46504368u);  // 'FPCh'
    EXPECT_EQ(big(f, 24), 9u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&f[28])), "Short, but not subtle");
    EXPECT_EQ(big(f, 56), 76u);
}

TEST(PresetFile, RoundTripsBothKinds) {
    for (const PresetFile& original : {bank(), program()}) {
        PresetFile back;
        std::string error;
        ASSERT_TRUE(RenderTool::parsePreset(RenderTool::buildPreset(original), back, error)) << error;
        EXPECT_EQ(back.isBank, original.isBank);
        EXPECT_EQ(back.fxID, original.fxID);
        EXPECT_EQ(back.fxVersion, original.fxVersion);
        EXPECT_EQ(back.count, original.count);
        EXPECT_EQ(back.programName, original.programName);
        EXPECT_EQ(back.chunk, original.chunk);
    }
}

TEST(PresetFile, LongProgramNamesKeepATerminator) {
    PresetFile p = program();
    p.programName = std::string(40, 'x');
    const Bytes f = RenderTool::buildPreset(p);
    EXPECT_EQ(f[28 + 27], 0);
    PresetFile back;
    std::string error;
    ASSERT_TRUE(RenderTool::parsePreset(f, back, error));
    EXPECT_EQ(back.programName, std::string(27, 'x'));
}

TEST(PresetFile, RefusesOtherKindsAndBadMagic) {
    Bytes f = RenderTool::buildPreset(bank());
    Bytes badMagic = f;
    badMagic[0] = 'X';
    EXPECT_NE(failure(badMagic).find("CcnK"), std::string::npos);
    EXPECT_NE(failure(Bytes(f.begin(), f.begin() + 11)).find("CcnK"), std::string::npos);
    for (const char* kind : {"FxCk", "FxBk"}) {
        Bytes plain = f;
        std::copy(kind, kind + 4, plain.begin() + 8);
        EXPECT_NE(failure(plain).find("parameter list"), std::string::npos) << kind;
    }
    Bytes unknown = f;
    std::copy("ABCD", "ABCD" + 4, unknown.begin() + 8);
    EXPECT_NE(failure(unknown).find("unknown"), std::string::npos);
}

TEST(PresetFile, RefusesSizesBeyondTheFile) {
    const Bytes f = RenderTool::buildPreset(bank());
    Bytes longer = f;
    putBig(longer, 4, static_cast<std::uint32_t>(f.size() - 7));
    EXPECT_NE(failure(longer).find("byte size"), std::string::npos);
    Bytes bigChunk = f;
    putBig(bigChunk, 156, 1071);
    EXPECT_NE(failure(bigChunk).find("chunk size"), std::string::npos);
    // Sizes near 2^32 must not wrap round into something that fits.
    Bytes wrapping = f;
    putBig(wrapping, 156, 0xFFFFFFF0u);
    EXPECT_NE(failure(wrapping).find("chunk size"), std::string::npos);
    Bytes wrappingTotal = f;
    putBig(wrappingTotal, 4, 0xFFFFFFFCu);
    EXPECT_NE(failure(wrappingTotal).find("byte size"), std::string::npos);
    EXPECT_NE(failure(Bytes(f.begin(), f.begin() + 100)).find("header"), std::string::npos);
    EXPECT_NE(failure(Bytes(f.begin(), f.end() - 1)).find("size"), std::string::npos);
    // A program whose chunk size claims more than the program holds.
    Bytes prog = RenderTool::buildPreset(program());
    putBig(prog, 56, 77);
    EXPECT_NE(failure(prog).find("chunk size"), std::string::npos);
}

}  // namespace
