#include "render/png/png_decoder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <new>

namespace Paintwell {
namespace {

std::uint32_t readBigEndian32(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

unsigned readBigEndian16(const unsigned char* p) { return (unsigned{p[0]} << 8) | p[1]; }

std::uint64_t readLittleEndian64(const unsigned char* p) {
    std::uint64_t v;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&v, p, 8);
    } else {
        v = 0;
        for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
    }
    return v;
}

// ------------------------------------------------------------------ bits

// Reads DEFLATE bits least significant first. Past the end of the data it
// supplies zero bits, so every field is read first and then checked with
// overran(), which lets each field report the error its position calls for.
class BitReader {
public:
    BitReader(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

    /// Tops the buffer up to at least 57 bits.
    void refill() {
        if (count_ > 56) return;
        if (pos_ + 8 <= size_) {
            buffer_ |= readLittleEndian64(data_ + pos_) << count_;
            pos_ += (63 - count_) >> 3;
            count_ |= 56;
            return;
        }
        while (count_ <= 56) {
            std::uint64_t byte = pos_ < size_ ? data_[pos_] : 0;
            buffer_ |= byte << count_;
            ++pos_;
            count_ += 8;
        }
    }

    std::uint64_t peek() const { return buffer_; }
    void consume(unsigned n) {
        buffer_ >>= n;
        count_ -= n;
    }
    /// n ≤ 32 bits as a number, first bit lowest.
    std::uint32_t bits(unsigned n) {
        refill();
        auto v = static_cast<std::uint32_t>(buffer_ & ((std::uint64_t{1} << n) - 1));
        consume(n);
        return v;
    }

    std::uint64_t position() const { return std::uint64_t{pos_} * 8 - count_; }
    std::uint64_t totalBits() const { return std::uint64_t{size_} * 8; }
    bool overran() const { return position() > totalBits(); }
    std::uint64_t remaining() const { return overran() ? 0 : totalBits() - position(); }

    void alignToByte() { consume(count_ & 7); }
    std::size_t bytePosition() const { return static_cast<std::size_t>(position() / 8); }
    void seekByte(std::size_t p) {
        pos_ = p;
        buffer_ = 0;
        count_ = 0;
    }

    const unsigned char* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    const unsigned char* data_;
    std::size_t size_;
    std::size_t pos_ = 0;  // next byte to load into the buffer
    std::uint64_t buffer_ = 0;
    unsigned count_ = 0;  // valid bits in buffer_
};

// --------------------------------------------------------------- Huffman

constexpr unsigned kMaxCodeBits = 15;
constexpr unsigned kPrimaryBits = 10;
constexpr std::uint32_t kPrimaryMask = (1u << kPrimaryBits) - 1;
constexpr std::uint32_t kLink = 1u << 24;
constexpr unsigned kMaxSymbols = 320;

unsigned reverseBits(unsigned code, unsigned length) {
    unsigned r = 0;
    for (unsigned i = 0; i < length; ++i) {
        r = (r << 1) | (code & 1);
        code >>= 1;
    }
    return r;
}

// A canonical Huffman code decoded through a table: the first 10 bits index a
// primary table whose entries are either a leaf (length << 16 | symbol), 0 for
// a bit pattern outside the code, or a link to a secondary table for longer
// codes (kLink | bits << 16 | offset).
class Huffman {
public:
    /// Builds the code from one length per symbol; n ≤ kMaxSymbols, lengths ≤ 15.
    unsigned build(const std::uint8_t* lengths, unsigned n) {
        std::fill(std::begin(counts_), std::end(counts_), 0);
        for (unsigned i = 0; i < n; ++i) ++counts_[lengths[i]];
        counts_[0] = 0;
        int left = 1;
        for (unsigned len = 1; len <= kMaxCodeBits; ++len) {
            left = (left << 1) - counts_[len];
            if (left < 0) return kPngOversubscribedCode;
        }
        kraft_ = 0;
        for (unsigned len = 1; len <= kMaxCodeBits; ++len)
            kraft_ += std::uint32_t{counts_[len]} << (kMaxCodeBits - len);

        std::uint16_t offsets[kMaxCodeBits + 2] = {};
        std::uint16_t nextCode[kMaxCodeBits + 1] = {};
        unsigned code = 0;
        for (unsigned len = 1; len <= kMaxCodeBits; ++len) {
            offsets[len + 1] = static_cast<std::uint16_t>(offsets[len] + counts_[len]);
            code = (code + counts_[len - 1]) << 1;
            nextCode[len] = static_cast<std::uint16_t>(code);
        }
        std::uint16_t codes[kMaxSymbols];
        for (unsigned s = 0; s < n; ++s) {
            unsigned len = lengths[s];
            if (len == 0) continue;
            symbols_[offsets[len]++] = static_cast<std::uint16_t>(s);
            codes[s] = static_cast<std::uint16_t>(reverseBits(nextCode[len]++, len));
        }
        fillTable(lengths, n, codes);
        return kPngOk;
    }

    /// The next symbol; sets error to 10 or 11 when there is none.
    unsigned decode(BitReader& in, unsigned& error) const {
        in.refill();
        std::uint64_t bits = in.peek();
        std::uint32_t e = table_[bits & kPrimaryMask];
        if (e & kLink) e = table_[(e & 0xFFFF) + ((bits >> kPrimaryBits) & ((1u << ((e >> 16) & 0xFF)) - 1))];
        unsigned len = (e >> 16) & 0xFF;
        if (len == 0) return decodeSlowly(in, error);
        in.consume(len);
        if (in.overran()) error = kPngHuffmanPastEnd;
        return e & 0xFFFF;
    }

private:
    void fillTable(const std::uint8_t* lengths, unsigned n, const std::uint16_t* codes) {
        table_.assign(std::size_t{1} << kPrimaryBits, 0);
        std::uint8_t subBits[1u << kPrimaryBits] = {};
        for (unsigned s = 0; s < n; ++s) {
            if (lengths[s] <= kPrimaryBits) continue;
            auto& b = subBits[codes[s] & kPrimaryMask];
            b = std::max<std::uint8_t>(b, static_cast<std::uint8_t>(lengths[s] - kPrimaryBits));
        }
        std::uint32_t next = 1u << kPrimaryBits;
        for (std::uint32_t p = 0; p <= kPrimaryMask; ++p) {
            if (subBits[p] == 0) continue;
            table_[p] = kLink | (std::uint32_t{subBits[p]} << 16) | next;
            next += 1u << subBits[p];
        }
        table_.resize(next, 0);
        for (unsigned s = 0; s < n; ++s) {
            unsigned len = lengths[s];
            if (len == 0) continue;
            std::uint32_t entry = (len << 16) | s;
            if (len <= kPrimaryBits) {
                for (std::uint32_t k = codes[s]; k <= kPrimaryMask; k += 1u << len) table_[k] = entry;
                continue;
            }
            std::uint32_t link = table_[codes[s] & kPrimaryMask];
            std::uint32_t base = link & 0xFFFF;
            std::uint32_t size = 1u << ((link >> 16) & 0xFF);
            for (std::uint32_t k = codes[s] >> kPrimaryBits; k < size; k += 1u << (len - kPrimaryBits))
                table_[base + k] = entry;
        }
    }

    // Walks the code one bit at a time, as a tree would: the answer is 10 when
    // the walk needs a bit past the end of the data, 11 when the bits read so
    // far already lie outside every code.
    unsigned decodeSlowly(BitReader& in, unsigned& error) const {
        std::uint64_t bits = in.peek();
        std::uint64_t available = in.remaining();
        unsigned code = 0, first = 0, index = 0;
        for (unsigned len = 1; len <= kMaxCodeBits; ++len) {
            if (len > available) {
                error = kPngHuffmanPastEnd;
                return 0;
            }
            code |= (bits >> (len - 1)) & 1;
            unsigned count = counts_[len];
            if (code - first < count) {
                in.consume(len);
                return symbols_[index + code - first];
            }
            unsigned shift = kMaxCodeBits - len;
            if (code >= ((kraft_ + (1u << shift) - 1) >> shift)) break;
            index += count;
            first = (first + count) << 1;
            code <<= 1;
        }
        error = kPngHuffmanBadCode;
        return 0;
    }

    std::vector<std::uint32_t> table_;
    std::uint16_t counts_[kMaxCodeBits + 1] = {};
    std::uint16_t symbols_[kMaxSymbols] = {};
    std::uint32_t kraft_ = 0;  // sum of 2^(15 - length) over all codes
};

// ---------------------------------------------------------------- inflate

constexpr std::uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                           31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::uint16_t kDistanceBase[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                             33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                             1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                             6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
constexpr std::uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

constexpr std::size_t kSlack = 16;  // room for the 8-byte steps of a match copy

struct FixedCodes {
    Huffman literals;
    Huffman distances;
    FixedCodes() {
        std::uint8_t lengths[288];
        std::fill(lengths, lengths + 144, 8);
        std::fill(lengths + 144, lengths + 256, 9);
        std::fill(lengths + 256, lengths + 280, 7);
        std::fill(lengths + 280, lengths + 288, 8);
        literals.build(lengths, 288);
        std::fill(lengths, lengths + 32, 5);
        distances.build(lengths, 32);
    }
};

const FixedCodes& fixedCodes() {
    static const FixedCodes codes;
    return codes;
}

// Decompresses a raw DEFLATE stream. Only the first `limit` bytes of output are
// kept (the scanlines need no more); anything beyond is decoded and checked
// but not stored, so a hostile stream cannot make the buffer grow past it.
class Inflater {
public:
    Inflater(const unsigned char* data, std::size_t size, std::size_t limit) : in_(data, size), limit_(limit) {}

    unsigned run() {
        reserve(std::min<std::size_t>(limit_, std::max<std::size_t>(std::size_t{1} << 16, in_.size() * 4)));
        for (;;) {
            if (in_.remaining() < 3) return kPngBlockHeaderPastEnd;
            unsigned final = in_.bits(1);
            unsigned type = in_.bits(2);
            unsigned error = kPngOk;
            if (type == 0) {
                error = storedBlock();
            } else if (type == 1) {
                error = codedBlock(fixedCodes().literals, fixedCodes().distances);
            } else if (type == 2) {
                error = dynamicBlock();
            } else {
                error = kPngBadBlockType;
            }
            if (error != kPngOk) return error;
            if (final) return kPngOk;
        }
    }

    /// Bytes kept: the first min(produced, limit) bytes of the output.
    std::size_t kept() const { return static_cast<std::size_t>(std::min<std::uint64_t>(produced_, limit_)); }
    unsigned char* output() { return out_.get(); }

private:
    void reserve(std::size_t capacity) {
        std::unique_ptr<unsigned char[]> bigger(new unsigned char[capacity + kSlack]);
        if (produced_ > 0) std::memcpy(bigger.get(), out_.get(), kept());
        out_ = std::move(bigger);
        capacity_ = capacity;
    }

    /// True when n more bytes fit the buffer, growing it (doubling, at most
    /// to the limit) if needed; false once the limit is in the way.
    bool room(std::size_t n) {
        if (produced_ + n <= capacity_) return true;
        if (capacity_ >= limit_) return false;
        std::uint64_t wanted = std::max<std::uint64_t>(produced_ + n, std::uint64_t{capacity_} * 2);
        reserve(static_cast<std::size_t>(std::min<std::uint64_t>(wanted, limit_)));
        return produced_ + n <= capacity_;
    }

    void literal(unsigned char byte) {
        if (room(1)) out_[produced_] = byte;
        ++produced_;
    }

    void copy(std::size_t distance, std::size_t length) {
        if (!room(length)) {
            for (std::size_t i = 0; i < length; ++i, ++produced_)
                if (produced_ < limit_) out_[produced_] = out_[produced_ - distance];
            return;
        }
        unsigned char* dst = out_.get() + produced_;
        const unsigned char* src = dst - distance;
        produced_ += length;
        if (distance >= 8) {
            // Each 8-byte step reads only bytes that are already final; the
            // last step may spill into the slack past the end, which is
            // overwritten later or never read.
            for (std::size_t i = 0; i < length; i += 8) std::memcpy(dst + i, src + i, 8);
        } else {
            for (std::size_t i = 0; i < length; ++i) dst[i] = src[i];
        }
    }

    unsigned storedBlock() {
        in_.alignToByte();
        std::size_t pos = in_.bytePosition();
        const unsigned char* d = in_.data();
        if (pos > in_.size() || in_.size() - pos < 4) return kPngBlockHeaderPastEnd;
        unsigned len = d[pos] | (unsigned{d[pos + 1]} << 8);
        unsigned nlen = d[pos + 2] | (unsigned{d[pos + 3]} << 8);
        if (len + nlen != 65535) return kPngStoredLengthMismatch;
        pos += 4;
        if (in_.size() - pos < len) return kPngStoredDataPastEnd;
        if (room(len)) {
            std::memcpy(out_.get() + produced_, d + pos, len);
            produced_ += len;
        } else {
            for (unsigned i = 0; i < len; ++i) literal(d[pos + i]);
        }
        in_.seekByte(pos + len);
        return kPngOk;
    }

    unsigned dynamicBlock() {
        if (in_.bytePosition() + 2 >= in_.size()) return kPngDynamicHeaderPastEnd;
        unsigned literalCount = in_.bits(5) + 257;
        unsigned distanceCount = in_.bits(5) + 1;
        unsigned lengthCodeCount = in_.bits(4) + 4;
        std::uint8_t codeLengths[19] = {};
        for (unsigned i = 0; i < lengthCodeCount; ++i)
            codeLengths[kCodeLengthOrder[i]] = static_cast<std::uint8_t>(in_.bits(3));
        if (in_.overran()) return kPngDynamicHeaderPastEnd;
        unsigned error = lengthCode_.build(codeLengths, 19);
        if (error != kPngOk) return error;

        std::uint8_t lengths[kMaxSymbols] = {};
        error = readCodeLengths(lengths, literalCount + distanceCount);
        if (error != kPngOk) return error;
        if (lengths[256] == 0) return kPngNoEndOfBlockCode;
        error = literals_.build(lengths, literalCount);
        if (error != kPngOk) return error;
        error = distances_.build(lengths + literalCount, distanceCount);
        if (error != kPngOk) return error;
        return codedBlock(literals_, distances_);
    }

    unsigned readCodeLengths(std::uint8_t* lengths, unsigned total) {
        unsigned i = 0;
        while (i < total) {
            unsigned error = kPngOk;
            unsigned symbol = lengthCode_.decode(in_, error);
            if (error != kPngOk) return error;
            if (symbol < 16) {
                lengths[i++] = static_cast<std::uint8_t>(symbol);
                continue;
            }
            unsigned run = 0;
            std::uint8_t value = 0;
            unsigned tooLong = 0;
            if (symbol == 16) {
                if (i == 0) return kPngRepeatWithoutPrevious;
                run = 3 + in_.bits(2);
                value = lengths[i - 1];
                tooLong = kPngRepeatRunTooLong;
            } else if (symbol == 17) {
                run = 3 + in_.bits(3);
                tooLong = kPngShortZeroRunTooLong;
            } else if (symbol == 18) {
                run = 11 + in_.bits(7);
                tooLong = kPngLongZeroRunTooLong;
            } else {
                return kPngBadCodeLengthSymbol;
            }
            if (in_.overran()) return kPngCodeLengthExtraPastEnd;
            if (run > total - i) return tooLong;
            std::fill(lengths + i, lengths + i + run, value);
            i += run;
        }
        return kPngOk;
    }

    unsigned codedBlock(const Huffman& literals, const Huffman& distances) {
        for (;;) {
            unsigned error = kPngOk;
            unsigned symbol = literals.decode(in_, error);
            if (error != kPngOk) return error;
            if (symbol < 256) {
                literal(static_cast<unsigned char>(symbol));
                continue;
            }
            if (symbol == 256) return kPngOk;
            if (symbol > 285) return kPngReservedLengthSymbol;
            unsigned li = symbol - 257;
            unsigned length = kLengthBase[li] + in_.bits(kLengthExtra[li]);
            if (in_.overran()) return kPngLengthDistanceExtraPastEnd;
            unsigned ds = distances.decode(in_, error);
            if (error != kPngOk) return error;
            if (ds > 29) return kPngBadDistanceSymbol;
            unsigned distance = kDistanceBase[ds] + in_.bits(kDistanceExtra[ds]);
            if (in_.overran()) return kPngLengthDistanceExtraPastEnd;
            if (distance > produced_) return kPngDistanceBeforeStart;
            copy(distance, length);
        }
    }

    BitReader in_;
    std::size_t limit_;
    std::unique_ptr<unsigned char[]> out_;
    std::size_t capacity_ = 0;
    std::uint64_t produced_ = 0;  // all output so far, kept or not
    Huffman lengthCode_, literals_, distances_;
};

// ------------------------------------------------------------- PNG layer

constexpr unsigned char kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
constexpr std::size_t kFirstChunk = 33;

struct Header {
    unsigned width = 0, height = 0, depth = 0, colourType = 0, interlace = 0;
    unsigned bitsPerPixel = 0;
};

struct Colours {
    unsigned char palette[256 * 4] = {};
    unsigned paletteSize = 0;
    bool keyDefined = false;
    unsigned keyRed = 0, keyGreen = 0, keyBlue = 0;
};

struct Pass {
    unsigned x0, y0, dx, dy;
};
constexpr Pass kWholeImage[1] = {{0, 0, 1, 1}};
constexpr Pass kAdam7[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                            {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};

unsigned passSpan(unsigned size, unsigned start, unsigned step) {
    return size > start ? (size - start + step - 1) / step : 0;
}

std::uint64_t rowBytes(std::uint64_t pixels, unsigned bitsPerPixel) { return (pixels * bitsPerPixel + 7) / 8; }

unsigned channelsOf(unsigned colourType) {
    switch (colourType) {
    case 0:
    case 3: return 1;
    case 4: return 2;
    case 2: return 3;
    case 6: return 4;
    default: return 0;
    }
}

bool depthAllowed(unsigned colourType, unsigned depth) {
    switch (colourType) {
    case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    default: return depth == 8 || depth == 16;
    }
}

unsigned readHeader(const unsigned char* bytes, std::size_t size, Header& h) {
    if (bytes == nullptr || size == 0) return kPngNoInput;
    if (size < 29) return kPngTooShort;
    if (std::memcmp(bytes, kSignature, 8) != 0) return kPngBadSignature;
    if (std::memcmp(bytes + 12, "IHDR", 4) != 0) return kPngFirstChunkNotIHDR;
    h.width = readBigEndian32(bytes + 16);
    h.height = readBigEndian32(bytes + 20);
    h.depth = bytes[24];
    h.colourType = bytes[25];
    h.interlace = bytes[28];
    if (bytes[26] != 0) return kPngBadCompressionMethod;
    if (bytes[27] != 0) return kPngBadFilterMethod;
    if (h.interlace > 1) return kPngBadInterlaceMethod;
    if (channelsOf(h.colourType) == 0) return kPngBadColourType;
    if (!depthAllowed(h.colourType, h.depth)) return kPngBadBitDepth;
    h.bitsPerPixel = h.depth * channelsOf(h.colourType);
    return kPngOk;
}

// Bytes of decompressed data the scanlines take, filter bytes included.
std::uint64_t imageDataSize(const Header& h) {
    const Pass* passes = h.interlace ? kAdam7 : kWholeImage;
    unsigned count = h.interlace ? 7 : 1;
    std::uint64_t total = 0;
    for (unsigned p = 0; p < count; ++p) {
        std::uint64_t w = passSpan(h.width, passes[p].x0, passes[p].dx);
        std::uint64_t rows = passSpan(h.height, passes[p].y0, passes[p].dy);
        if (w != 0 && rows != 0) total += rows * (1 + rowBytes(w, h.bitsPerPixel));
    }
    return total;
}

unsigned checkDimensions(const Header& h) {
    if (h.width == 0 || h.height == 0) return kPngEmptyImage;
    // Both factors are below 2^32, so the product cannot wrap in 64 bits.
    std::uint64_t pixels = std::uint64_t{h.width} * h.height;
    if (pixels > kPngMaxPixelBytes / 4) return kPngImageTooLarge;
    return kPngOk;
}

unsigned readTransparency(const unsigned char* data, std::uint32_t length, const Header& h, Colours& c) {
    switch (h.colourType) {
    case 3:
        if (length > c.paletteSize) return kPngTransparencyTooLarge;
        for (std::uint32_t i = 0; i < length; ++i) c.palette[i * 4 + 3] = data[i];
        return kPngOk;
    case 0:
        if (length != 2) return kPngGreyTransparencySize;
        c.keyRed = c.keyGreen = c.keyBlue = readBigEndian16(data);
        c.keyDefined = true;
        return kPngOk;
    case 2:
        if (length != 6) return kPngRgbTransparencySize;
        c.keyRed = readBigEndian16(data);
        c.keyGreen = readBigEndian16(data + 2);
        c.keyBlue = readBigEndian16(data + 4);
        c.keyDefined = true;
        return kPngOk;
    default: return kPngTransparencyNotAllowed;
    }
}

unsigned readPalette(const unsigned char* data, std::uint32_t length, Colours& c) {
    std::uint32_t entries = length / 3;
    if (entries > 256) return kPngPaletteTooLarge;
    for (std::uint32_t i = 0; i < entries; ++i) {
        std::memcpy(c.palette + i * 4, data + i * 3, 3);
        c.palette[i * 4 + 3] = 255;
    }
    c.paletteSize = entries;
    return kPngOk;
}

// Walks the chunks after IHDR up to IEND, collecting the IDAT stream.
unsigned readChunks(const unsigned char* bytes, std::size_t size, const Header& h, Colours& c,
                    std::vector<unsigned char>& compressed) {
    std::uint64_t pos = kFirstChunk;
    for (;;) {
        if (pos + 8 >= size) return kPngMissingIEND;
        std::uint32_t length = readBigEndian32(bytes + pos);
        if (length > 0x7FFFFFFFu) return kPngChunkTooLong;
        // The data must lie inside the input; the CRC after it may be cut off.
        if (pos + 8 + length > size) return kPngChunkPastEnd;
        const unsigned char* type = bytes + pos + 4;
        const unsigned char* data = type + 4;
        unsigned error = kPngOk;
        if (std::memcmp(type, "IDAT", 4) == 0) {
            compressed.insert(compressed.end(), data, data + length);
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            return kPngOk;
        } else if (std::memcmp(type, "PLTE", 4) == 0) {
            error = readPalette(data, length, c);
        } else if (std::memcmp(type, "tRNS", 4) == 0) {
            error = readTransparency(data, length, h, c);
        } else if ((type[0] & 0x20) == 0) {
            error = kPngUnknownCriticalChunk;
        }
        if (error != kPngOk) return error;
        pos += 12 + std::uint64_t{length};
    }
}

unsigned checkZlibHeader(const std::vector<unsigned char>& z) {
    if (z.size() < 2) return kPngZlibTooShort;
    if ((z[0] * 256u + z[1]) % 31 != 0) return kPngZlibCheckFailed;
    if ((z[0] & 15) != 8 || (z[0] >> 4) > 7) return kPngZlibBadMethod;
    if (z[1] & 32) return kPngZlibDictionary;
    return kPngOk;
}

// ------------------------------------------------------------- scanlines

unsigned char paeth(int a, int b, int c) {
    int pa = b > c ? b - c : c - b;
    int pb = a > c ? a - c : c - a;
    int pc = a + b - 2 * c;
    pc = pc < 0 ? -pc : pc;
    if (pa <= pb && pa <= pc) return static_cast<unsigned char>(a);
    return static_cast<unsigned char>(pb <= pc ? b : c);
}

// Undoes one row's filter. dst may equal src; prev is the previous unfiltered
// row of the same pass (all zeros for the first row).
bool unfilterRow(unsigned char* dst, const unsigned char* src, const unsigned char* prev, std::size_t n,
                 std::size_t stride, unsigned type) {
    std::size_t head = std::min(stride, n);
    switch (type) {
    case 0:
        if (dst != src) std::memcpy(dst, src, n);
        return true;
    case 1:
        for (std::size_t i = 0; i < head; ++i) dst[i] = src[i];
        for (std::size_t i = head; i < n; ++i) dst[i] = static_cast<unsigned char>(src[i] + dst[i - stride]);
        return true;
    case 2:
        for (std::size_t i = 0; i < n; ++i) dst[i] = static_cast<unsigned char>(src[i] + prev[i]);
        return true;
    case 3:
        for (std::size_t i = 0; i < head; ++i) dst[i] = static_cast<unsigned char>(src[i] + (prev[i] >> 1));
        for (std::size_t i = head; i < n; ++i)
            dst[i] = static_cast<unsigned char>(src[i] + ((dst[i - stride] + prev[i]) >> 1));
        return true;
    case 4:
        for (std::size_t i = 0; i < head; ++i) dst[i] = static_cast<unsigned char>(src[i] + prev[i]);
        for (std::size_t i = head; i < n; ++i)
            dst[i] = static_cast<unsigned char>(src[i] + paeth(dst[i - stride], prev[i], prev[i - stride]));
        return true;
    default: return false;
    }
}

unsigned packedSample(const unsigned char* row, std::size_t index, unsigned depth) {
    std::size_t bit = index * depth;
    unsigned shift = 8 - depth - static_cast<unsigned>(bit & 7);
    return (row[bit >> 3] >> shift) & ((1u << depth) - 1);
}

void setRGBA(unsigned char* d, unsigned r, unsigned g, unsigned b, unsigned a) {
    d[0] = static_cast<unsigned char>(r);
    d[1] = static_cast<unsigned char>(g);
    d[2] = static_cast<unsigned char>(b);
    d[3] = static_cast<unsigned char>(a);
}

// Converts count pixels of one unfiltered row to RGBA, writing a pixel every
// `step` bytes of dst.
unsigned convertRow(const unsigned char* row, unsigned count, unsigned char* dst, std::size_t step, const Header& h,
                    const Colours& c) {
    const unsigned depth = h.depth;
    for (unsigned i = 0; i < count; ++i, dst += step) {
        switch (h.colourType) {
        case 0: {
            unsigned v, grey;
            if (depth == 16) {
                v = readBigEndian16(row + 2 * i);
                grey = row[2 * i];
            } else if (depth == 8) {
                v = grey = row[i];
            } else {
                v = packedSample(row, i, depth);
                grey = v * 255 / ((1u << depth) - 1);
            }
            setRGBA(dst, grey, grey, grey, c.keyDefined && v == c.keyRed ? 0 : 255);
            break;
        }
        case 2: {
            unsigned r, g, b, sr, sg, sb;
            if (depth == 16) {
                const unsigned char* p = row + 6 * i;
                r = readBigEndian16(p), g = readBigEndian16(p + 2), b = readBigEndian16(p + 4);
                sr = p[0], sg = p[2], sb = p[4];
            } else {
                const unsigned char* p = row + 3 * i;
                r = sr = p[0], g = sg = p[1], b = sb = p[2];
            }
            bool keyed = c.keyDefined && r == c.keyRed && g == c.keyGreen && b == c.keyBlue;
            setRGBA(dst, sr, sg, sb, keyed ? 0 : 255);
            break;
        }
        case 3: {
            unsigned index = depth == 8 ? row[i] : packedSample(row, i, depth);
            if (index >= c.paletteSize) return depth == 8 ? kPngPaletteIndex8 : kPngPaletteIndexPacked;
            std::memcpy(dst, c.palette + index * 4, 4);
            break;
        }
        case 4:
            if (depth == 16) setRGBA(dst, row[4 * i], row[4 * i], row[4 * i], row[4 * i + 2]);
            else
                setRGBA(dst, row[2 * i], row[2 * i], row[2 * i], row[2 * i + 1]);
            break;
        default:
            if (depth == 16) setRGBA(dst, row[8 * i], row[8 * i + 2], row[8 * i + 4], row[8 * i + 6]);
            else
                std::memcpy(dst, row + 4 * i, 4);
            break;
        }
    }
    return kPngOk;
}

// Copies count pixels of one unfiltered row into the packed image, pixel i
// going to pixel number first + i × step of the whole image.
void packRow(const unsigned char* row, unsigned count, unsigned char* packed, std::size_t first, std::size_t step,
             unsigned bitsPerPixel) {
    if (bitsPerPixel >= 8) {
        std::size_t bytes = bitsPerPixel / 8;
        for (unsigned i = 0; i < count; ++i) std::memcpy(packed + (first + i * step) * bytes, row + i * bytes, bytes);
        return;
    }
    for (unsigned i = 0; i < count; ++i) {
        unsigned v = packedSample(row, i, bitsPerPixel);
        std::size_t bit = (first + i * step) * bitsPerPixel;
        unsigned shift = 8 - bitsPerPixel - static_cast<unsigned>(bit & 7);
        unsigned char mask = static_cast<unsigned char>(((1u << bitsPerPixel) - 1) << shift);
        packed[bit >> 3] = static_cast<unsigned char>((packed[bit >> 3] & ~mask) | (v << shift));
    }
}

// Calls visit(pass, rowsBefore, width, rows, rowBytes) for each non-empty pass
// in file order; rowsBefore counts the scanlines of the passes before it.
template <typename Visit>
unsigned forEachPass(const Header& h, Visit&& visit) {
    const Pass* passes = h.interlace ? kAdam7 : kWholeImage;
    unsigned passCount = h.interlace ? 7 : 1;
    std::size_t offset = 0;
    for (unsigned p = 0; p < passCount; ++p) {
        const Pass& pass = passes[p];
        unsigned width = passSpan(h.width, pass.x0, pass.dx);
        unsigned rows = passSpan(h.height, pass.y0, pass.dy);
        if (width == 0 || rows == 0) continue;
        auto n = static_cast<std::size_t>(rowBytes(width, h.bitsPerPixel));
        unsigned error = visit(pass, offset, width, rows, n);
        if (error != kPngOk) return error;
        offset += rows * (n + 1);
    }
    return kPngOk;
}

// Undoes the filters of every scanline, in place in the decompressed data or,
// for 8-bit RGBA without interlacing, straight into the result.
unsigned unfilterAll(unsigned char* raw, const Header& h, unsigned char* direct) {
    const std::size_t stride = (h.bitsPerPixel + 7) / 8;
    std::vector<unsigned char> zeros(static_cast<std::size_t>(rowBytes(h.width, h.bitsPerPixel)), 0);
    return forEachPass(h, [&](const Pass&, std::size_t offset, unsigned, unsigned rows, std::size_t n) {
        const unsigned char* prev = zeros.data();
        unsigned char* line = raw + offset;
        for (unsigned r = 0; r < rows; ++r, line += n + 1) {
            unsigned char* dst = direct ? direct + r * n : line + 1;
            if (!unfilterRow(dst, line + 1, prev, n, stride, line[0])) return unsigned{kPngBadFilterType};
            prev = dst;
        }
        return unsigned{kPngOk};
    });
}

// Writes the unfiltered scanlines to out as RGBA or packed in the file's own
// format, placing each pass's pixels at their positions in the whole image.
unsigned emitAll(const unsigned char* raw, const Header& h, const Colours& c, unsigned char* out, bool toRGBA) {
    return forEachPass(h, [&](const Pass& pass, std::size_t offset, unsigned width, unsigned rows, std::size_t n) {
        const unsigned char* line = raw + offset;
        for (unsigned r = 0; r < rows; ++r, line += n + 1) {
            std::size_t first = (pass.y0 + std::size_t{r} * pass.dy) * h.width + pass.x0;
            if (!toRGBA) {
                packRow(line + 1, width, out, first, pass.dx, h.bitsPerPixel);
                continue;
            }
            unsigned error = convertRow(line + 1, width, out + first * 4, std::size_t{pass.dx} * 4, h, c);
            if (error != kPngOk) return error;
        }
        return unsigned{kPngOk};
    });
}

unsigned reconstruct(unsigned char* raw, const Header& h, const Colours& c, std::vector<unsigned char>& out,
                     bool toRGBA) {
    const std::size_t pixels = std::size_t{h.width} * h.height;
    // 8-bit RGBA is already the result once unfiltered: no conversion pass.
    const bool direct = toRGBA && h.colourType == 6 && h.depth == 8 && h.interlace == 0;
    out.assign(toRGBA ? pixels * 4 : static_cast<std::size_t>(rowBytes(pixels, h.bitsPerPixel)), 0);
    unsigned error = unfilterAll(raw, h, direct ? out.data() : nullptr);
    if (error != kPngOk || direct) return error;
    return emitAll(raw, h, c, out.data(), toRGBA);
}

unsigned decodeImage(std::vector<unsigned char>& out, unsigned& width, unsigned& height, const unsigned char* bytes,
                     std::size_t size, bool toRGBA) {
    Header h;
    unsigned error = readHeader(bytes, size, h);
    width = h.width;
    height = h.height;
    if (error == kPngOk) error = checkDimensions(h);
    if (error != kPngOk) return error;

    Colours colours;
    std::vector<unsigned char> compressed;
    error = readChunks(bytes, size, h, colours, compressed);
    if (error == kPngOk) error = checkZlibHeader(compressed);
    if (error != kPngOk) return error;

    auto needed = static_cast<std::size_t>(imageDataSize(h));
    Inflater inflater(compressed.data() + 2, compressed.size() - 2, needed);
    error = inflater.run();
    if (error != kPngOk) return error;
    if (inflater.kept() < needed) return kPngImageDataShort;
    compressed = {};
    return reconstruct(inflater.output(), h, colours, out, toRGBA);
}

struct ErrorText {
    unsigned code;
    const char* text;
};

constexpr ErrorText kErrorTexts[] = {
    {kPngOk, "no error"},
    {kPngHuffmanPastEnd, "Huffman decoding ran past the end of the compressed data"},
    {kPngHuffmanBadCode, "Huffman code not in the tree"},
    {kPngRepeatRunTooLong, "repeat-previous-length run beyond the declared code lengths"},
    {kPngShortZeroRunTooLong, "short zero run beyond the declared code lengths"},
    {kPngLongZeroRunTooLong, "long zero run beyond the declared code lengths"},
    {kPngBadCodeLengthSymbol, "code-length symbol outside 0-18"},
    {kPngBadDistanceSymbol, "distance symbol above 29"},
    {kPngBadBlockType, "DEFLATE block type 3"},
    {kPngStoredLengthMismatch, "stored block LEN and NLEN do not match"},
    {kPngStoredDataPastEnd, "stored block data past the end"},
    {kPngZlibCheckFailed, "zlib header check value wrong"},
    {kPngZlibBadMethod, "zlib method not 8 or window size above 7"},
    {kPngZlibDictionary, "zlib preset dictionary requested"},
    {kPngTooShort, "input shorter than 29 bytes"},
    {kPngBadSignature, "PNG signature wrong"},
    {kPngFirstChunkNotIHDR, "first chunk is not IHDR"},
    {kPngMissingIEND, "input ends without IEND"},
    {kPngBadColourType, "colour type not 0, 2, 3, 4 or 6"},
    {kPngBadCompressionMethod, "compression method not 0"},
    {kPngBadFilterMethod, "filter method not 0"},
    {kPngBadInterlaceMethod, "interlace method above 1"},
    {kPngChunkPastEnd, "chunk data reaches the end of the input"},
    {kPngBadFilterType, "scanline filter type above 4"},
    {kPngBadBitDepth, "bit depth not allowed for the colour type"},
    {kPngPaletteTooLarge, "palette with more than 256 entries"},
    {kPngTransparencyTooLarge, "tRNS with more entries than the palette"},
    {kPngGreyTransparencySize, "tRNS of a grey image not 2 bytes"},
    {kPngRgbTransparencySize, "tRNS of an RGB image not 6 bytes"},
    {kPngTransparencyNotAllowed, "tRNS in a grey + alpha or RGBA image"},
    {kPngPaletteIndex8, "8-bit palette index beyond the palette"},
    {kPngPaletteIndexPacked, "1, 2 or 4-bit palette index beyond the palette"},
    {kPngNoInput, "no input"},
    {kPngDynamicHeaderPastEnd, "dynamic block header within 2 bytes of the end, or cut short"},
    {kPngCodeLengthExtraPastEnd, "code-length extra bits past the end"},
    {kPngLengthDistanceExtraPastEnd, "length or distance extra bits past the end"},
    {kPngBlockHeaderPastEnd, "block header past the end, or stored block header within 4 bytes of the end"},
    {kPngZlibTooShort, "zlib data shorter than 2 bytes"},
    {kPngOversubscribedCode, "over-subscribed Huffman code lengths"},
    {kPngChunkTooLong, "chunk length above 2147483647"},
    {kPngNoEndOfBlockCode, "dynamic block without an end-of-block code"},
    {kPngUnknownCriticalChunk, "unknown critical chunk"},
    {kPngDistanceBeforeStart, "back-reference distance reaches before the start of the output"},
    {kPngRepeatWithoutPrevious, "repeat-previous-length code with no previous length"},
    {kPngReservedLengthSymbol, "literal/length symbol 286 or 287"},
    {kPngImageTooLarge, "image pixels would exceed 256 MiB"},
    {kPngEmptyImage, "image width or height is zero"},
    {kPngImageDataShort, "decompressed image data shorter than the scanlines need"},
    {kPngOutOfMemory, "out of memory"},
};

}  // namespace

unsigned decodePNG(std::vector<unsigned char>& out, unsigned& width, unsigned& height, const unsigned char* bytes,
                   std::size_t size, bool toRGBA) {
    out.clear();
    width = 0;
    height = 0;
    unsigned error;
    try {
        error = decodeImage(out, width, height, bytes, size, toRGBA);
    } catch (const std::bad_alloc&) {
        error = kPngOutOfMemory;
    }
    if (error != kPngOk) std::vector<unsigned char>().swap(out);
    return error;
}

const char* pngErrorText(unsigned code) {
    for (const ErrorText& e : kErrorTexts)
        if (e.code == code) return e.text;
    return "unknown error code";
}

}  // namespace Paintwell
