// A self-contained PNG reader: zlib container, DEFLATE decompressor, chunk
// walk, scanline filters, Adam7 and conversion to 8-bit RGBA. It is written
// for hostile input: every read and write is bounds-checked, and images whose
// pixels would not fit the built-in limit are refused before anything large is
// allocated. Chunk CRCs and the Adler-32 trailer are not verified.
//
// Threads: any; decodePNG keeps no state between calls. Ownership: the caller
// keeps the input bytes and owns the output vector.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Paintwell {

/// The decoded RGBA pixels of an accepted image take at most this many bytes.
constexpr std::uint64_t kPngMaxPixelBytes = std::uint64_t{256} << 20;

/// Result codes of decodePNG; 0 is success. The numbers are stable.
enum PngError : unsigned {
    kPngOk = 0,
    kPngHuffmanPastEnd = 10,
    kPngHuffmanBadCode = 11,
    kPngRepeatRunTooLong = 13,
    kPngShortZeroRunTooLong = 14,
    kPngLongZeroRunTooLong = 15,
    kPngBadCodeLengthSymbol = 16,
    kPngBadDistanceSymbol = 18,
    kPngBadBlockType = 20,
    kPngStoredLengthMismatch = 21,
    kPngStoredDataPastEnd = 23,
    kPngZlibCheckFailed = 24,
    kPngZlibBadMethod = 25,
    kPngZlibDictionary = 26,
    kPngTooShort = 27,
    kPngBadSignature = 28,
    kPngFirstChunkNotIHDR = 29,
    kPngMissingIEND = 30,
    kPngBadColourType = 31,
    kPngBadCompressionMethod = 32,
    kPngBadFilterMethod = 33,
    kPngBadInterlaceMethod = 34,
    kPngChunkPastEnd = 35,
    kPngBadFilterType = 36,
    kPngBadBitDepth = 37,
    kPngPaletteTooLarge = 38,
    kPngTransparencyTooLarge = 39,
    kPngGreyTransparencySize = 40,
    kPngRgbTransparencySize = 41,
    kPngTransparencyNotAllowed = 42,
    kPngPaletteIndex8 = 46,
    kPngPaletteIndexPacked = 47,
    kPngNoInput = 48,
    kPngDynamicHeaderPastEnd = 49,
    kPngCodeLengthExtraPastEnd = 50,
    kPngLengthDistanceExtraPastEnd = 51,
    kPngBlockHeaderPastEnd = 52,
    kPngZlibTooShort = 53,
    kPngOversubscribedCode = 55,
    kPngChunkTooLong = 63,
    kPngNoEndOfBlockCode = 64,
    kPngUnknownCriticalChunk = 69,
    // Conditions the format leaves open, each refused with a code of its own.
    kPngDistanceBeforeStart = 70,    // back-reference reaches before the first output byte
    kPngRepeatWithoutPrevious = 71,  // code-length symbol 16 as the very first length
    kPngReservedLengthSymbol = 72,   // literal/length symbol 286 or 287
    kPngImageTooLarge = 73,          // RGBA pixels above kPngMaxPixelBytes
    kPngEmptyImage = 74,             // width or height is zero
    kPngImageDataShort = 75,         // decompressed data ends before the last scanline
    kPngOutOfMemory = 76,            // an allocation within the limits still failed
};

/// Decodes a whole PNG file. On success out holds width × height pixels, rows
/// top to bottom: with toRGBA, 4 bytes R, G, B, A each; without it, the
/// unfiltered samples in the file's own format, rows packed without padding.
/// width and height are the header's, also when decoding fails after the
/// header has been read (0 before that); out is empty on failure.
unsigned decodePNG(std::vector<unsigned char>& out, unsigned& width, unsigned& height, const unsigned char* bytes,
                   std::size_t size, bool toRGBA = true);

/// A short English description of a decodePNG result code, for logs and tests.
const char* pngErrorText(unsigned code);

}  // namespace Paintwell
