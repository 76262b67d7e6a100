// Test-side PNG writer, independent of the decoder under test: sample images
// with known pixels, our own scanline filtering and DEFLATE encodings (stored
// and fixed-code blocks), zlib and chunk framing with correct checksums, and
// the RGBA that each image must decode to. Other compressors (zlib's dynamic
// blocks) plug in through the raw DEFLATE bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace PngTest {

using Bytes = std::vector<unsigned char>;

/// An image as the file stores it: one sample per channel, colour type and
/// depth as in the header, plus the palette and transparency chunks.
struct SampleImage {
    unsigned width = 0, height = 0, colourType = 6, depth = 8, interlace = 0;
    std::vector<std::uint16_t> samples;  // width × height × channels, row-major
    Bytes palette;                       // PLTE data, 3 bytes an entry
    Bytes transparency;                  // tRNS data, empty for none

    unsigned channels() const;
    unsigned bitsPerPixel() const { return channels() * depth; }
};

/// Pseudo-random samples for every pixel (seeded), a palette of paletteSize
/// entries for colour type 3, and no tRNS.
SampleImage makeSampleImage(unsigned width, unsigned height, unsigned colourType, unsigned depth, unsigned interlace,
                            std::uint32_t seed, unsigned paletteSize = 16);
/// Adds a tRNS chunk fitting the colour type: for palettes the first `entries`
/// alphas, for grey and RGB a key equal to the first pixel's value.
void addTransparency(SampleImage& image, std::uint32_t seed, unsigned entries = 5);

/// The RGBA bytes the image decodes to (16-bit samples keep their high byte,
/// low grey depths are scaled to 0-255, keys and palette alpha applied).
Bytes expectedRGBA(const SampleImage& image);
/// The samples packed in the file's own format, rows without padding.
Bytes expectedPacked(const SampleImage& image);

/// Filter type chosen for a scanline, by its number among all scanlines.
using FilterChoice = unsigned (*)(unsigned scanline);
unsigned cycleFilters(unsigned scanline);

/// The filtered scanlines (filter byte + row bytes, Adam7 passes in order).
Bytes scanlines(const SampleImage& image, FilterChoice choose = cycleFilters);

/// Raw DEFLATE: stored blocks of at most blockSize bytes (0 gives one empty final block).
Bytes deflateStored(const Bytes& data, std::size_t blockSize = 65535);
/// Raw DEFLATE: one fixed-code block with literals and back-references.
Bytes deflateFixed(const Bytes& data);
/// zlib framing around raw DEFLATE bytes: header 78 01 and the Adler-32 of `data`.
Bytes zlibWrap(const Bytes& deflated, const Bytes& data);

struct Chunk {
    std::string type;
    Bytes data;
};

/// A whole file: signature, IHDR, `before` chunks, PLTE/tRNS of the image,
/// the zlib stream cut into IDAT chunks of idatSize bytes (0: one chunk), IEND.
Bytes assemblePng(const SampleImage& image, const Bytes& zlibStream, std::size_t idatSize = 0,
                  const std::vector<Chunk>& before = {});
/// One framed chunk: length, type, data, CRC-32.
Bytes chunk(const std::string& type, const Bytes& data);
std::uint32_t crc32(const unsigned char* data, std::size_t size);
std::uint32_t adler32(const Bytes& data);

/// A small valid RGBA file (stored blocks), the starting point of edits.
Bytes smallPng(unsigned width = 4, unsigned height = 3, unsigned colourType = 6, unsigned depth = 8);

/// Little-endian DEFLATE bit writer for hand-made streams.
class BitWriter {
public:
    void bits(std::uint32_t value, unsigned count);
    /// A Huffman code, most significant bit first as DEFLATE stores codes.
    void code(std::uint32_t value, unsigned length);
    /// Fixed-code literal/length symbol.
    void fixedSymbol(unsigned symbol);
    /// Fixed-code back-reference: length 3-258, distance 1-32768.
    void fixedMatch(unsigned length, unsigned distance);
    void alignToByte();
    std::size_t bitCount() const { return bytes_.size() * 8 + count_; }
    Bytes finish();

private:
    Bytes bytes_;
    std::uint32_t buffer_ = 0;
    unsigned count_ = 0;
};

/// Writes bytes to path, replacing it; false when that fails.
bool writeFile(const std::string& path, const Bytes& bytes);
/// The whole file at path; false when it cannot be read.
bool readFile(const std::string& path, Bytes& bytes);

}  // namespace PngTest
