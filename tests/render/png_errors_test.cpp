// Every failure a crafted file can reach gives its own code, and each file
// here is a valid one with a minimal edit.
#include "png_writer.h"
#include "render/png/png_decoder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using PngTest::Bytes;
using namespace Paintwell;

unsigned decodeError(const Bytes& file, unsigned* width = nullptr, unsigned* height = nullptr) {
    std::vector<unsigned char> out(7, 1);
    unsigned w = 99, h = 99;
    unsigned error = decodePNG(out, w, h, file.data(), file.size());
    if (error != 0) {
        EXPECT_TRUE(out.empty()) << "output left behind for error " << error;
    }
    if (width) *width = w;
    if (height) *height = h;
    return error;
}

// A file for `image` whose zlib data is `deflated` (raw DEFLATE bytes, no
// Adler-32 trailer, so the data ends exactly where the stream does).
Bytes withDeflate(const Bytes& deflated,
                  const PngTest::SampleImage& image = PngTest::makeSampleImage(4, 3, 6, 8, 0, 1)) {
    Bytes z(deflated.size() + 2);
    z[0] = 0x78;
    z[1] = 0x01;
    std::copy(deflated.begin(), deflated.end(), z.begin() + 2);
    return PngTest::assemblePng(image, z);
}

Bytes withZlib(const Bytes& z) { return PngTest::assemblePng(PngTest::makeSampleImage(4, 3, 6, 8, 0, 1), z); }

// Canonical codes for a set of code lengths, as DEFLATE assigns them.
std::vector<unsigned> canonicalCodes(const std::vector<unsigned>& lengths) {
    unsigned count[16] = {}, next[16] = {};
    for (unsigned l : lengths) ++count[l];
    count[0] = 0;
    for (unsigned bits = 1, code = 0; bits < 16; ++bits) next[bits] = code = (code + count[bits - 1]) << 1;
    std::vector<unsigned> codes(lengths.size());
    for (std::size_t s = 0; s < lengths.size(); ++s)
        if (lengths[s]) codes[s] = next[lengths[s]]++;
    return codes;
}

constexpr unsigned kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

// Writes a final dynamic block header (by default 257 literal/length and 1
// distance lengths) with a complete code-length code for symbols 0, 1, 2, 16,
// 17 and 18; the code-length symbols follow through symbol() and zeros().
struct DynamicHeader {
    std::vector<unsigned> clLengths = std::vector<unsigned>(19, 0);
    std::vector<unsigned> clCodes;
    PngTest::BitWriter w;

    DynamicHeader(unsigned literals = 257, unsigned distances = 1) {
        clLengths[0] = clLengths[18] = 2;
        clLengths[1] = clLengths[2] = clLengths[16] = clLengths[17] = 3;
        clCodes = canonicalCodes(clLengths);
        w.bits(1, 1);
        w.bits(2, 2);
        w.bits(literals - 257, 5);
        w.bits(distances - 1, 5);
        w.bits(19 - 4, 4);
        for (unsigned s : kOrder) w.bits(clLengths[s], 3);
    }
    void symbol(unsigned s, unsigned extra = 0) {
        w.code(clCodes[s], clLengths[s]);
        if (s == 16) w.bits(extra, 2);
        if (s == 17) w.bits(extra, 3);
        if (s == 18) w.bits(extra, 7);
    }
    /// n zero lengths with symbol 18 runs (n ≥ 11 per run).
    void zeros(unsigned n) {
        while (n >= 11) {
            unsigned run = std::min(n, 138u);
            if (n - run > 0 && n - run < 11) run = n - 11;
            symbol(18, run - 11);
            n -= run;
        }
        for (; n > 0; --n) symbol(0);
    }
};

TEST(PngErrors, HeaderAndSignature) {
    const Bytes good = PngTest::smallPng();
    std::vector<unsigned char> out;
    unsigned w = 0, h = 0;
    EXPECT_EQ(decodePNG(out, w, h, nullptr, 10), kPngNoInput);
    EXPECT_EQ(decodeError(Bytes(good.begin(), good.begin())), kPngNoInput);
    EXPECT_EQ(decodeError(Bytes(good.begin(), good.begin() + 28), &w, &h), kPngTooShort);
    EXPECT_EQ(w, 0u);
    Bytes edited = good;
    edited[6] = 0;
    EXPECT_EQ(decodeError(edited), kPngBadSignature);
    edited = good;
    edited[15] = 'X';
    EXPECT_EQ(decodeError(edited), kPngFirstChunkNotIHDR);

    struct Edit {
        std::size_t offset;
        unsigned char value;
        unsigned error;
    };
    const Edit edits[] = {{25, 5, kPngBadColourType},        {25, 1, kPngBadColourType},
                          {26, 1, kPngBadCompressionMethod}, {27, 1, kPngBadFilterMethod},
                          {28, 2, kPngBadInterlaceMethod},   {24, 4, kPngBadBitDepth},
                          {24, 0, kPngBadBitDepth},          {24, 16, kPngOk}};
    for (const Edit& e : edits) {
        edited = good;
        edited[e.offset] = e.value;
        unsigned error = decodeError(edited, &w, &h);
        if (e.error != kPngOk) {
            EXPECT_EQ(error, e.error) << "byte " << e.offset << " = " << int(e.value);
        }
        EXPECT_EQ(w, 4u);
        EXPECT_EQ(h, 3u);
    }
    // Depths not allowed for each colour type.
    for (auto [type, depth] : {std::pair{2, 4}, std::pair{3, 16}, std::pair{4, 1}, std::pair{6, 2}, std::pair{0, 3}}) {
        edited = good;
        edited[24] = static_cast<unsigned char>(depth);
        edited[25] = static_cast<unsigned char>(type);
        EXPECT_EQ(decodeError(edited), kPngBadBitDepth) << type << "/" << depth;
    }
}

TEST(PngErrors, ImageSizeLimitsAreCheckedBeforeAnythingIsAllocated) {
    const Bytes good = PngTest::smallPng();
    auto withSize = [&good](std::uint32_t width, std::uint32_t height) {
        Bytes b = good;
        for (int i = 0; i < 4; ++i) {
            b[16 + i] = static_cast<unsigned char>(width >> (24 - 8 * i));
            b[20 + i] = static_cast<unsigned char>(height >> (24 - 8 * i));
        }
        return b;
    };
    unsigned w = 0, h = 0;
    EXPECT_EQ(decodeError(withSize(0, 3), &w, &h), kPngEmptyImage);
    EXPECT_EQ(decodeError(withSize(4, 0)), kPngEmptyImage);
    EXPECT_EQ(decodeError(withSize(0xFFFFFFFFu, 0xFFFFFFFFu), &w, &h), kPngImageTooLarge);
    EXPECT_EQ(w, 0xFFFFFFFFu);
    EXPECT_EQ(decodeError(withSize(0x10000, 0x10000)), kPngImageTooLarge);
    EXPECT_EQ(decodeError(withSize(8193, 8192)), kPngImageTooLarge);
    EXPECT_EQ(decodeError(withSize(0x7FFFFFFF, 1)), kPngImageTooLarge);
    // Exactly at the limit the header passes; the tiny data then falls short.
    EXPECT_EQ(decodeError(withSize(8192, 8192)), kPngImageDataShort);
}

TEST(PngErrors, ChunkWalk) {
    const Bytes good = PngTest::smallPng();
    const std::size_t iend = good.size() - 12;
    EXPECT_EQ(decodeError(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(iend))), kPngMissingIEND);
    // Cut inside the IDAT data (IHDR ends at 33; IDAT data starts at 41).
    EXPECT_EQ(decodeError(Bytes(good.begin(), good.begin() + 50)), kPngChunkPastEnd);
    // Data that runs exactly one byte past the end.
    Bytes edited = good;
    edited.resize(iend);
    std::uint32_t idatLength = static_cast<std::uint32_t>(iend - 33 - 12);
    edited[33 + 3] = static_cast<unsigned char>(idatLength + 4 + 1);
    EXPECT_EQ(decodeError(edited), kPngChunkPastEnd);
    // Fewer than 9 bytes from a chunk's start is no chunk, not even IEND.
    EXPECT_EQ(decodeError(Bytes(good.begin(), good.end() - 4)), kPngMissingIEND);

    edited = good;
    edited[iend] = 0x80;  // IEND length 2^31
    EXPECT_EQ(decodeError(edited), kPngChunkTooLong);

    auto image = PngTest::makeSampleImage(4, 3, 6, 8, 0, 1);
    Bytes raw = PngTest::scanlines(image);
    Bytes z = PngTest::zlibWrap(PngTest::deflateStored(raw), raw);
    EXPECT_EQ(decodeError(PngTest::assemblePng(image, z, 0, {{"ABCD", {1, 2}}})), kPngUnknownCriticalChunk);
    EXPECT_EQ(decodeError(PngTest::assemblePng(image, z, 0, {{"IHDR", Bytes(13, 0)}})), kPngUnknownCriticalChunk);
    EXPECT_EQ(decodeError(PngTest::assemblePng(image, z, 0, {{"aBCD", {1, 2}}})), kPngOk);
}

TEST(PngErrors, PaletteAndTransparency) {
    auto encode = [](PngTest::SampleImage image) {
        Bytes raw = PngTest::scanlines(image);
        return PngTest::assemblePng(image, PngTest::zlibWrap(PngTest::deflateStored(raw), raw));
    };
    auto palette = PngTest::makeSampleImage(4, 3, 3, 8, 0, 1, 4);
    auto bad = palette;
    bad.palette.assign(257 * 3, 1);
    EXPECT_EQ(decodeError(encode(bad)), kPngPaletteTooLarge);
    bad = palette;
    bad.palette.assign(256 * 3, 1);
    EXPECT_EQ(decodeError(encode(bad)), kPngOk);
    bad = palette;
    bad.transparency.assign(5, 0);
    EXPECT_EQ(decodeError(encode(bad)), kPngTransparencyTooLarge);
    bad.transparency.assign(4, 0);
    EXPECT_EQ(decodeError(encode(bad)), kPngOk);

    auto grey = PngTest::makeSampleImage(4, 3, 0, 8, 0, 1);
    grey.transparency = {0, 1, 0, 2};
    EXPECT_EQ(decodeError(encode(grey)), kPngGreyTransparencySize);
    auto rgb = PngTest::makeSampleImage(4, 3, 2, 16, 0, 1);
    rgb.transparency = {0, 1};
    EXPECT_EQ(decodeError(encode(rgb)), kPngRgbTransparencySize);
    for (unsigned type : {4u, 6u}) {
        auto alpha = PngTest::makeSampleImage(4, 3, type, 8, 0, 1);
        alpha.transparency = {0, 1};
        EXPECT_EQ(decodeError(encode(alpha)), kPngTransparencyNotAllowed);
    }

    // Indices beyond the palette, and palette images without any PLTE.
    auto index8 = palette;
    index8.samples[5] = 4;
    EXPECT_EQ(decodeError(encode(index8)), kPngPaletteIndex8);
    for (unsigned depth : {1u, 2u, 4u}) {
        auto packed = PngTest::makeSampleImage(9, 3, 3, depth, 1, depth, 2);
        packed.palette.resize(3);  // one entry; the image uses two
        EXPECT_EQ(decodeError(encode(packed)), kPngPaletteIndexPacked) << depth;
        packed.palette.clear();
        EXPECT_EQ(decodeError(encode(packed)), kPngPaletteIndexPacked) << depth;
    }
    index8.palette.clear();
    EXPECT_EQ(decodeError(encode(index8)), kPngPaletteIndex8);
}

TEST(PngErrors, ScanlinesAndImageData) {
    auto image = PngTest::makeSampleImage(5, 4, 2, 8, 0, 3);
    Bytes raw = PngTest::scanlines(image);
    Bytes bad = raw;
    bad[16 * 2] = 5;  // third row's filter byte (rows are 1 + 15 bytes)
    EXPECT_EQ(decodeError(PngTest::assemblePng(image, PngTest::zlibWrap(PngTest::deflateStored(bad), bad))),
              kPngBadFilterType);
    Bytes shorter(raw.begin(), raw.end() - 1);
    unsigned w = 0, h = 0;
    EXPECT_EQ(
        decodeError(PngTest::assemblePng(image, PngTest::zlibWrap(PngTest::deflateStored(shorter), shorter)), &w, &h),
        kPngImageDataShort);
    EXPECT_EQ(w, 5u);
    EXPECT_EQ(h, 4u);
    // A bad filter type wins over a bad palette index in an earlier row:
    // all rows are unfiltered before any is converted.
    auto palette = PngTest::makeSampleImage(4, 2, 3, 8, 0, 1, 2);
    palette.samples[0] = 9;
    Bytes praw = PngTest::scanlines(palette);
    praw[5] = 7;
    EXPECT_EQ(decodeError(PngTest::assemblePng(palette, PngTest::zlibWrap(PngTest::deflateStored(praw), praw))),
              kPngBadFilterType);
}

TEST(PngErrors, ZlibHeader) {
    EXPECT_EQ(decodeError(withZlib({0x78})), kPngZlibTooShort);
    EXPECT_EQ(decodeError(withZlib({})), kPngZlibTooShort);
    EXPECT_EQ(decodeError(withZlib({0x78, 0x02, 0x01, 0x00})), kPngZlibCheckFailed);
    auto header = [](unsigned cmf, unsigned flagBits) {
        unsigned flg = flagBits;
        while ((cmf * 256 + flg) % 31 != 0) ++flg;
        return Bytes{static_cast<unsigned char>(cmf), static_cast<unsigned char>(flg), 0x03, 0x00};
    };
    EXPECT_EQ(decodeError(withZlib(header(0x79, 0))), kPngZlibBadMethod);
    EXPECT_EQ(decodeError(withZlib(header(0x88, 0))), kPngZlibBadMethod);
    EXPECT_EQ(decodeError(withZlib(header(0x78, 0x20))), kPngZlibDictionary);
}

TEST(PngErrors, BlockFraming) {
    EXPECT_EQ(decodeError(withDeflate({})), kPngBlockHeaderPastEnd);
    EXPECT_EQ(decodeError(withDeflate({0x07})), kPngBadBlockType);
    // Stored: header cut, LEN/NLEN mismatch, data past the end.
    EXPECT_EQ(decodeError(withDeflate({0x01, 0x05, 0x00, 0xFA})), kPngBlockHeaderPastEnd);
    EXPECT_EQ(decodeError(withDeflate({0x01, 0x05, 0x00, 0xFA, 0xFE, 1, 2, 3, 4, 5})), kPngStoredLengthMismatch);
    EXPECT_EQ(decodeError(withDeflate({0x01, 0x05, 0x00, 0xFA, 0xFF, 1, 2, 3, 4})), kPngStoredDataPastEnd);
    // A non-final block followed by nothing.
    EXPECT_EQ(decodeError(withDeflate({0x00, 0x00, 0x00, 0xFF, 0xFF})), kPngBlockHeaderPastEnd);
    // A dynamic block header within 2 bytes of the end.
    EXPECT_EQ(decodeError(withDeflate({0x05, 0x00})), kPngDynamicHeaderPastEnd);
}

TEST(PngErrors, FixedBlockSymbols) {
    PngTest::BitWriter w;
    w.bits(1, 1);
    w.bits(1, 2);
    w.fixedMatch(3, 1);  // nothing to copy from yet
    EXPECT_EQ(decodeError(withDeflate(w.finish())), kPngDistanceBeforeStart);

    for (unsigned reserved : {286u, 287u}) {
        PngTest::BitWriter r;
        r.bits(1, 1);
        r.bits(1, 2);
        r.fixedSymbol(65);
        r.fixedSymbol(reserved);
        EXPECT_EQ(decodeError(withDeflate(r.finish())), kPngReservedLengthSymbol);
    }
    for (unsigned distance : {30u, 31u}) {
        PngTest::BitWriter d;
        d.bits(1, 1);
        d.bits(1, 2);
        d.fixedSymbol(65);
        d.fixedSymbol(257);
        d.code(distance, 5);
        EXPECT_EQ(decodeError(withDeflate(d.finish())), kPngBadDistanceSymbol);
    }
    // 3 + 9 header and literal bits: the 4 padding bits cannot hold the next code.
    PngTest::BitWriter t;
    t.bits(1, 1);
    t.bits(1, 2);
    t.fixedSymbol(200);
    EXPECT_EQ(decodeError(withDeflate(t.finish())), kPngHuffmanPastEnd);
    // 3 + 6 × 9 + 7 = 64 bits: the length's extra bit lies past the end.
    PngTest::BitWriter x;
    x.bits(1, 1);
    x.bits(1, 2);
    for (int i = 0; i < 6; ++i) x.fixedSymbol(200);
    x.fixedSymbol(265);
    Bytes stream = x.finish();
    ASSERT_EQ(stream.size(), 8u);
    EXPECT_EQ(decodeError(withDeflate(stream)), kPngLengthDistanceExtraPastEnd);
    // 3 + 9 + 7 + 5 = 24 bits: the distance code's extra bit lies past the end.
    PngTest::BitWriter y;
    y.bits(1, 1);
    y.bits(1, 2);
    y.fixedSymbol(200);
    y.fixedSymbol(257);
    y.code(4, 5);
    stream = y.finish();
    ASSERT_EQ(stream.size(), 3u);
    EXPECT_EQ(decodeError(withDeflate(stream)), kPngLengthDistanceExtraPastEnd);
}

TEST(PngErrors, DynamicBlockCodeLengths) {
    auto finish = [](DynamicHeader& d) { return decodeError(withDeflate(d.w.finish())); };
    {
        DynamicHeader d;
        d.symbol(16, 0);  // repeat with nothing to repeat
        EXPECT_EQ(finish(d), kPngRepeatWithoutPrevious);
    }
    {
        DynamicHeader d;
        d.zeros(256);
        d.symbol(1);
        d.symbol(16, 0);  // 3 more lengths where one is left
        EXPECT_EQ(finish(d), kPngRepeatRunTooLong);
    }
    {
        DynamicHeader d;
        d.zeros(256);
        d.symbol(17, 0);
        EXPECT_EQ(finish(d), kPngShortZeroRunTooLong);
    }
    {
        DynamicHeader d;
        d.zeros(250);
        d.symbol(18, 0);
        EXPECT_EQ(finish(d), kPngLongZeroRunTooLong);
    }
    {
        DynamicHeader d;
        d.zeros(255);
        d.symbol(1);  // literal 255 has a code
        d.symbol(0);  // end-of-block has none
        d.symbol(1);  // the distance code
        EXPECT_EQ(finish(d), kPngNoEndOfBlockCode);
    }
    {
        DynamicHeader d;
        d.zeros(254);
        d.symbol(1);
        d.symbol(1);
        d.symbol(1);  // three codes of length 1
        d.symbol(0);
        EXPECT_EQ(finish(d), kPngOversubscribedCode);
    }
    {
        // Extra bits of a zero run past the end: 3 + 14 + 57 header bits and
        // a 2-bit symbol 18 leave 4 bits of the last byte for 7 extra bits.
        DynamicHeader d;
        d.symbol(18);
        Bytes stream = d.w.finish();
        stream.resize(10);
        EXPECT_EQ(decodeError(withDeflate(stream)), kPngCodeLengthExtraPastEnd);
    }
    {
        // The code-length code itself over-subscribed.
        PngTest::BitWriter w;
        w.bits(1, 1);
        w.bits(2, 2);
        w.bits(0, 5);
        w.bits(0, 5);
        w.bits(0, 4);
        for (int i = 0; i < 4; ++i) w.bits(1, 3);
        w.bits(0, 32);
        EXPECT_EQ(decodeError(withDeflate(w.finish())), kPngOversubscribedCode);
    }
    {
        // Lengths for 4 × 3 bits of code-length code cut off by the end.
        EXPECT_EQ(decodeError(withDeflate({0x05, 0x00, 0x00})), kPngDynamicHeaderPastEnd);
    }
}

TEST(PngErrors, IncompleteCodesTellABadCodeFromRunningOut) {
    // Literal 'A' is "0", end-of-block "10"; no code starts with "11".
    auto header = [](unsigned bitsLeft) {
        DynamicHeader d;
        d.zeros(65);
        d.symbol(1);
        d.zeros(190);
        d.symbol(2);
        d.symbol(0);
        while (d.w.bitCount() % 8 != 8 - bitsLeft) d.w.code(0, 1);
        return d;
    };
    DynamicHeader outside = header(2);
    outside.w.bits(3, 2);
    EXPECT_EQ(decodeError(withDeflate(outside.w.finish())), kPngHuffmanBadCode);
    DynamicHeader inside = header(1);
    inside.w.bits(1, 1);  // a prefix of end-of-block, then the data ends
    EXPECT_EQ(decodeError(withDeflate(inside.w.finish())), kPngHuffmanPastEnd);
    DynamicHeader early = header(2);
    early.w.bits(3, 2);
    early.w.bits(0, 32);
    EXPECT_EQ(decodeError(withDeflate(early.w.finish())), kPngHuffmanBadCode);
}

}  // namespace
