// Valid files of every kind decode to exactly the pixels they were made from.
#include "png_writer.h"
#include "render/png/png_decoder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using PngTest::Bytes;

struct Decoded {
    unsigned error = 0, width = 0, height = 0;
    Bytes pixels;
};

Decoded decode(const Bytes& file, bool toRGBA = true) {
    Decoded d;
    d.error = Paintwell::decodePNG(d.pixels, d.width, d.height, file.data(), file.size(), toRGBA);
    return d;
}

struct Format {
    unsigned colourType, depth;
};

constexpr Format kFormats[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                               {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};

std::string describe(const PngTest::SampleImage& image, const char* how) {
    return "type " + std::to_string(image.colourType) + " depth " + std::to_string(image.depth) + " " +
           std::to_string(image.width) + "x" + std::to_string(image.height) + (image.interlace ? " Adam7" : "") +
           (image.transparency.empty() ? "" : " tRNS") + " " + how;
}

void expectRoundTrip(const PngTest::SampleImage& image, const Bytes& file, const char* how) {
    SCOPED_TRACE(describe(image, how));
    Decoded rgba = decode(file);
    ASSERT_EQ(rgba.error, 0u) << Paintwell::pngErrorText(rgba.error);
    EXPECT_EQ(rgba.width, image.width);
    EXPECT_EQ(rgba.height, image.height);
    EXPECT_EQ(rgba.pixels, PngTest::expectedRGBA(image));
    Decoded packed = decode(file, false);
    ASSERT_EQ(packed.error, 0u) << Paintwell::pngErrorText(packed.error);
    EXPECT_EQ(packed.pixels, PngTest::expectedPacked(image));
}

TEST(PngDecode, EveryFormatInterlacedOrNotWithStoredAndFixedBlocks) {
    // Odd sizes leave partial Adam7 blocks and partial bytes at row ends.
    const unsigned sizes[][2] = {{1, 1}, {3, 2}, {13, 9}, {37, 21}};
    std::uint32_t seed = 1;
    for (const Format& f : kFormats)
        for (unsigned interlace = 0; interlace < 2; ++interlace)
            for (const auto& size : sizes) {
                auto image = PngTest::makeSampleImage(size[0], size[1], f.colourType, f.depth, interlace, seed++);
                Bytes raw = PngTest::scanlines(image);
                expectRoundTrip(image,
                                PngTest::assemblePng(image, PngTest::zlibWrap(PngTest::deflateStored(raw, 100), raw)),
                                "stored");
                expectRoundTrip(
                    image, PngTest::assemblePng(image, PngTest::zlibWrap(PngTest::deflateFixed(raw), raw), 5), "fixed");
            }
}

TEST(PngDecode, TransparencyKeysAndPaletteAlpha) {
    std::uint32_t seed = 100;
    for (const Format& f : kFormats) {
        if (f.colourType == 4 || f.colourType == 6) continue;
        for (unsigned interlace = 0; interlace < 2; ++interlace) {
            // Few distinct values, so the key matches many pixels.
            auto image = PngTest::makeSampleImage(17, 11, f.colourType, f.depth, interlace, seed++, 4);
            if (f.colourType != 3 && f.depth >= 8)
                for (auto& s : image.samples)
                    s = static_cast<std::uint16_t>(s % 2 == 0 ? (f.depth == 16 ? 0x1234 : 7) : s);
            PngTest::addTransparency(image, seed, 3);
            Bytes raw = PngTest::scanlines(image);
            expectRoundTrip(image, PngTest::assemblePng(image, PngTest::zlibWrap(PngTest::deflateFixed(raw), raw)),
                            "fixed");
        }
    }
}

TEST(PngDecode, SixteenBitKeyComparesTheWholeSampleNotItsHighByte) {
    auto image = PngTest::makeSampleImage(2, 1, 0, 16, 0, 5);
    image.samples = {0x1234, 0x1235};
    PngTest::addTransparency(image, 0);  // key 0x1234
    Bytes raw = PngTest::scanlines(image);
    Decoded d = decode(PngTest::assemblePng(image, PngTest::zlibWrap(PngTest::deflateStored(raw), raw)));
    ASSERT_EQ(d.error, 0u);
    EXPECT_EQ(d.pixels, (Bytes{0x12, 0x12, 0x12, 0, 0x12, 0x12, 0x12, 255}));
}

TEST(PngDecode, EachFilterTypeAloneAndSheetLikeFiles) {
    for (unsigned filter = 0; filter < 5; ++filter) {
        static unsigned chosen;
        chosen = filter;
        auto image = PngTest::makeSampleImage(31, 7, 6, 8, 0, 40 + filter);
        Bytes raw = PngTest::scanlines(image, [](unsigned) { return chosen; });
        expectRoundTrip(image, PngTest::assemblePng(image, PngTest::zlibWrap(PngTest::deflateFixed(raw), raw)),
                        ("filter " + std::to_string(filter)).c_str());
    }
    // Like the editor's sheets: RGBA, an iCCP chunk, the data in 44 IDAT chunks.
    for (auto [w, h] : {std::pair{600u, 480u}, std::pair{480u, 110u}}) {
        auto image = PngTest::makeSampleImage(w, h, 6, 8, 0, w);
        Bytes raw = PngTest::scanlines(image);
        Bytes z = PngTest::zlibWrap(PngTest::deflateStored(raw), raw);
        Bytes file =
            PngTest::assemblePng(image, z, z.size() / 43 + 1, {{"iCCP", Bytes{'s', 'R', 'G', 'B', 0, 0, 1, 2, 3}}});
        expectRoundTrip(image, file, "sheet");
    }
}

TEST(PngDecode, SkipsAncillaryAndUnknownLowerCaseChunks) {
    auto image = PngTest::makeSampleImage(5, 5, 2, 8, 0, 9);
    Bytes raw = PngTest::scanlines(image);
    Bytes z = PngTest::zlibWrap(PngTest::deflateFixed(raw), raw);
    expectRoundTrip(image,
                    PngTest::assemblePng(image, z, 3,
                                         {{"gAMA", {0, 0, 177, 143}}, {"tEXt", {'a', 0, 'b'}}, {"zzZz", Bytes(40, 9)}}),
                    "ancillary");
}

TEST(PngDecode, ChecksumsAreNotVerified) {
    auto image = PngTest::makeSampleImage(4, 4, 6, 8, 0, 3);
    Bytes raw = PngTest::scanlines(image);
    Bytes z = PngTest::zlibWrap(PngTest::deflateStored(raw), raw);
    z.back() ^= 0xFF;  // Adler-32
    Bytes file = PngTest::assemblePng(image, z);
    file[29] ^= 0xFF;  // IHDR CRC
    expectRoundTrip(image, file, "bad checksums");
}

TEST(PngDecode, PaletteTransparencyShorterThanThePaletteLeavesTheRestOpaque) {
    auto image = PngTest::makeSampleImage(4, 1, 3, 8, 0, 1, 4);
    image.samples = {0, 1, 2, 3};
    image.transparency = {10, 20};
    Bytes raw = PngTest::scanlines(image);
    Decoded d = decode(PngTest::assemblePng(image, PngTest::zlibWrap(PngTest::deflateStored(raw), raw)));
    ASSERT_EQ(d.error, 0u);
    EXPECT_EQ(d.pixels[3], 10);
    EXPECT_EQ(d.pixels[7], 20);
    EXPECT_EQ(d.pixels[11], 255);
    EXPECT_EQ(d.pixels[15], 255);
}

TEST(PngDecode, ExtraImageDataAfterTheLastScanlineIsIgnored) {
    auto image = PngTest::makeSampleImage(6, 6, 0, 8, 0, 12);
    Bytes raw = PngTest::scanlines(image);
    Bytes longer = raw;
    longer.resize(raw.size() + 300, 0xAB);
    expectRoundTrip(image, PngTest::assemblePng(image, PngTest::zlibWrap(PngTest::deflateFixed(longer), longer)),
                    "extra data");
}

TEST(PngDecode, BackReferencesReachTheWholeWindowAcrossBlocks) {
    // Two equal grey rows of 32768 bytes each (filter byte included): the
    // second row is copied from the first, 32768 bytes back, in a fixed block
    // that follows the stored block holding the first row.
    auto image = PngTest::makeSampleImage(32767, 2, 0, 8, 0, 21);
    std::copy(image.samples.begin(), image.samples.begin() + 32767, image.samples.begin() + 32767);
    Bytes raw = PngTest::scanlines(image, [](unsigned) { return 0u; });
    ASSERT_EQ(raw.size(), 65536u);
    PngTest::BitWriter w;
    w.bits(0, 3);
    w.alignToByte();
    w.bits(32768, 16);
    w.bits(32767, 16);
    for (std::size_t i = 0; i < 32768; ++i) w.bits(raw[i], 8);
    w.bits(1, 1);
    w.bits(1, 2);
    for (int i = 0; i < 126; ++i) w.fixedMatch(258, 32768);
    w.fixedMatch(257, 32768);
    w.fixedMatch(3, 32768);
    w.fixedSymbol(256);
    Decoded d = decode(PngTest::assemblePng(image, PngTest::zlibWrap(w.finish(), raw)));
    ASSERT_EQ(d.error, 0u) << Paintwell::pngErrorText(d.error);
    EXPECT_EQ(d.pixels, PngTest::expectedRGBA(image));
}

TEST(PngDecode, OverlappingCopiesRepeatTheirOwnOutput) {
    // Runs of one pixel value copied with distances shorter than the length.
    auto image = PngTest::makeSampleImage(40, 3, 6, 8, 0, 2);
    for (std::size_t i = 0; i < image.samples.size(); ++i)
        image.samples[i] = static_cast<std::uint16_t>((i % 4) * 50 + i / 160);
    Bytes raw = PngTest::scanlines(image, [](unsigned) { return 0u; });
    expectRoundTrip(image, PngTest::assemblePng(image, PngTest::zlibWrap(PngTest::deflateFixed(raw), raw)), "runs");
}

}  // namespace
