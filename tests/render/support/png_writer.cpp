#include "png_writer.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace PngTest {

namespace {

struct Pass {
    unsigned x0, y0, dx, dy;
};
constexpr Pass kAdam7[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                            {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
constexpr Pass kWhole[1] = {{0, 0, 1, 1}};

std::uint32_t nextRandom(std::uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

// resize and copy rather than vector::insert, which GCC 12 misreads as
// writing out of bounds when the vector starts small.
void append(Bytes& out, const void* data, std::size_t n) {
    std::size_t old = out.size();
    out.resize(old + n);
    if (n) std::memcpy(out.data() + old, data, n);
}

void putBigEndian32(Bytes& out, std::uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<unsigned char>(v >> s));
}

void putBigEndian16(Bytes& out, unsigned v) {
    out.push_back(static_cast<unsigned char>(v >> 8));
    out.push_back(static_cast<unsigned char>(v));
}

// Packs samples MSB first; rows of depths below 8 end on a byte boundary
// unless `pad` is false.
class SamplePacker {
public:
    SamplePacker(Bytes& out, unsigned depth) : out_(out), depth_(depth) {}
    void put(unsigned v) {
        if (depth_ == 16) return putBigEndian16(out_, v);
        if (depth_ == 8) return out_.push_back(static_cast<unsigned char>(v));
        acc_ = (acc_ << depth_) | v;
        bits_ += depth_;
        if (bits_ == 8) flush();
    }
    void flush() {
        if (bits_ == 0) return;
        out_.push_back(static_cast<unsigned char>(acc_ << (8 - bits_)));
        acc_ = bits_ = 0;
    }

private:
    Bytes& out_;
    unsigned depth_;
    unsigned acc_ = 0, bits_ = 0;
};

unsigned paeth(int a, int b, int c) {
    int p = a + b - c;
    int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return static_cast<unsigned>(a);
    return static_cast<unsigned>(pb <= pc ? b : c);
}

void filterRow(Bytes& out, const Bytes& row, const Bytes& prev, std::size_t stride, unsigned type) {
    out.push_back(static_cast<unsigned char>(type));
    for (std::size_t i = 0; i < row.size(); ++i) {
        int a = i >= stride ? row[i - stride] : 0;
        int b = prev[i];
        int c = i >= stride ? prev[i - stride] : 0;
        int predicted = 0;
        switch (type) {
        case 1: predicted = a; break;
        case 2: predicted = b; break;
        case 3: predicted = (a + b) / 2; break;
        case 4: predicted = static_cast<int>(paeth(a, b, c)); break;
        default: break;
        }
        out.push_back(static_cast<unsigned char>(row[i] - predicted));
    }
}

unsigned reverse(unsigned code, unsigned length) {
    unsigned r = 0;
    for (unsigned i = 0; i < length; ++i, code >>= 1) r = (r << 1) | (code & 1);
    return r;
}

constexpr unsigned kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr unsigned kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                       2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr unsigned kDistanceBase[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                        33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                        1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr unsigned kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                         6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

}  // namespace

void BitWriter::fixedMatch(unsigned length, unsigned distance) {
    BitWriter& w = *this;
    unsigned li = 28;
    while (kLengthBase[li] > length) --li;
    w.fixedSymbol(257 + li);
    w.bits(length - kLengthBase[li], kLengthExtra[li]);
    unsigned di = 29;
    while (kDistanceBase[di] > distance) --di;
    w.code(di, 5);
    w.bits(distance - kDistanceBase[di], kDistanceExtra[di]);
}

unsigned SampleImage::channels() const {
    switch (colourType) {
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
    }
}

SampleImage makeSampleImage(unsigned width, unsigned height, unsigned colourType, unsigned depth, unsigned interlace,
                            std::uint32_t seed, unsigned paletteSize) {
    SampleImage image;
    image.width = width;
    image.height = height;
    image.colourType = colourType;
    image.depth = depth;
    image.interlace = interlace;
    std::uint32_t state = seed * 2654435761u + 1;
    unsigned top = (1u << depth) - 1;
    if (colourType == 3) {
        top = std::min(top, paletteSize - 1);
        for (unsigned i = 0; i < paletteSize * 3; ++i)
            image.palette.push_back(static_cast<unsigned char>(nextRandom(state)));
    }
    image.samples.resize(std::size_t{width} * height * image.channels());
    for (auto& s : image.samples) s = static_cast<std::uint16_t>(nextRandom(state) % (top + 1));
    return image;
}

void addTransparency(SampleImage& image, std::uint32_t seed, unsigned entries) {
    std::uint32_t state = seed + 77;
    image.transparency.clear();
    if (image.colourType == 3) {
        for (unsigned i = 0; i < entries; ++i)
            image.transparency.push_back(static_cast<unsigned char>(nextRandom(state)));
    } else if (image.colourType == 0) {
        putBigEndian16(image.transparency, image.samples[0]);
    } else if (image.colourType == 2) {
        for (unsigned c = 0; c < 3; ++c) putBigEndian16(image.transparency, image.samples[c]);
    }
}

Bytes expectedRGBA(const SampleImage& image) {
    Bytes out;
    const unsigned ch = image.channels();
    const unsigned d = image.depth;
    auto eight = [d](unsigned v) { return d == 16 ? v >> 8 : d == 8 ? v : v * 255 / ((1u << d) - 1); };
    const Bytes& t = image.transparency;
    auto key = [&t](unsigned i) { return (unsigned{t[2 * i]} << 8) | t[2 * i + 1]; };
    for (std::size_t p = 0; p < image.samples.size(); p += ch) {
        const std::uint16_t* s = &image.samples[p];
        unsigned r, g, b, a = 255;
        switch (image.colourType) {
        case 0:
            r = g = b = eight(s[0]);
            if (!t.empty() && s[0] == key(0)) a = 0;
            break;
        case 2:
            r = eight(s[0]), g = eight(s[1]), b = eight(s[2]);
            if (!t.empty() && s[0] == key(0) && s[1] == key(1) && s[2] == key(2)) a = 0;
            break;
        case 3:
            r = image.palette.at(s[0] * 3), g = image.palette.at(s[0] * 3 + 1), b = image.palette.at(s[0] * 3 + 2);
            if (s[0] < t.size()) a = t[s[0]];
            break;
        case 4:
            r = g = b = eight(s[0]);
            a = eight(s[1]);
            break;
        default: r = eight(s[0]), g = eight(s[1]), b = eight(s[2]), a = eight(s[3]); break;
        }
        for (unsigned v : {r, g, b, a}) out.push_back(static_cast<unsigned char>(v));
    }
    return out;
}

Bytes expectedPacked(const SampleImage& image) {
    Bytes out;
    SamplePacker packer(out, image.depth);
    for (auto s : image.samples) packer.put(s);
    packer.flush();
    return out;
}

unsigned cycleFilters(unsigned scanline) { return scanline % 5; }

Bytes scanlines(const SampleImage& image, FilterChoice choose) {
    Bytes out;
    const Pass* passes = image.interlace ? kAdam7 : kWhole;
    unsigned count = image.interlace ? 7 : 1;
    const unsigned ch = image.channels();
    const std::size_t stride = std::max(1u, image.bitsPerPixel() / 8);
    unsigned line = 0;
    for (unsigned p = 0; p < count; ++p) {
        const Pass& pass = passes[p];
        if (image.width <= pass.x0 || image.height <= pass.y0) continue;
        Bytes prev;
        for (unsigned y = pass.y0; y < image.height; y += pass.dy) {
            Bytes row;
            SamplePacker packer(row, image.depth);
            for (unsigned x = pass.x0; x < image.width; x += pass.dx)
                for (unsigned c = 0; c < ch; ++c)
                    packer.put(image.samples[(std::size_t{y} * image.width + x) * ch + c]);
            packer.flush();
            if (prev.empty()) prev.assign(row.size(), 0);
            filterRow(out, row, prev, stride, choose(line++));
            prev = row;
        }
    }
    return out;
}

Bytes deflateStored(const Bytes& data, std::size_t blockSize) {
    BitWriter w;
    std::size_t pos = 0;
    do {
        std::size_t n = std::min(blockSize, data.size() - pos);
        bool last = pos + n == data.size();
        w.bits(last ? 1 : 0, 1);
        w.bits(0, 2);
        w.alignToByte();
        w.bits(static_cast<std::uint32_t>(n), 16);
        w.bits(static_cast<std::uint32_t>(~n & 0xFFFF), 16);
        for (std::size_t i = 0; i < n; ++i) w.bits(data[pos + i], 8);
        pos += n;
    } while (pos < data.size());
    return w.finish();
}

Bytes deflateFixed(const Bytes& data) {
    BitWriter w;
    w.bits(1, 1);
    w.bits(1, 2);
    std::size_t pos = 0;
    while (pos < data.size()) {
        // Longest match among the last 64 positions: enough to exercise
        // lengths, distances and copies that overlap their own output.
        unsigned bestLength = 0, bestDistance = 0;
        for (unsigned distance = 1; distance <= std::min<std::size_t>(pos, 64); ++distance) {
            unsigned length = 0;
            while (length < 258 && pos + length < data.size() && data[pos + length] == data[pos + length - distance])
                ++length;
            if (length > bestLength) bestLength = length, bestDistance = distance;
        }
        if (bestLength >= 3) {
            w.fixedMatch(bestLength, bestDistance);
            pos += bestLength;
        } else {
            w.fixedSymbol(data[pos++]);
        }
    }
    w.fixedSymbol(256);
    return w.finish();
}

Bytes zlibWrap(const Bytes& deflated, const Bytes& data) {
    Bytes out = {0x78, 0x01};
    append(out, deflated.data(), deflated.size());
    putBigEndian32(out, adler32(data));
    return out;
}

std::uint32_t crc32(const unsigned char* data, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

std::uint32_t adler32(const Bytes& data) {
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : data) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

Bytes chunk(const std::string& type, const Bytes& data) {
    if (type.size() != 4) throw std::invalid_argument("chunk type must have 4 letters");
    Bytes out;
    putBigEndian32(out, static_cast<std::uint32_t>(data.size()));
    append(out, type.data(), type.size());
    append(out, data.data(), data.size());
    putBigEndian32(out, crc32(out.data() + 4, out.size() - 4));
    return out;
}

Bytes assemblePng(const SampleImage& image, const Bytes& zlibStream, std::size_t idatSize,
                  const std::vector<Chunk>& before) {
    Bytes out = {137, 80, 78, 71, 13, 10, 26, 10};
    Bytes header;
    putBigEndian32(header, image.width);
    putBigEndian32(header, image.height);
    for (unsigned v : {image.depth, image.colourType, 0u, 0u, image.interlace})
        header.push_back(static_cast<unsigned char>(v));
    auto appendChunk = [&out](const std::string& type, const Bytes& data) {
        Bytes c = chunk(type, data);
        append(out, c.data(), c.size());
    };
    appendChunk("IHDR", header);
    for (const Chunk& c : before) appendChunk(c.type, c.data);
    if (!image.palette.empty()) appendChunk("PLTE", image.palette);
    if (!image.transparency.empty()) appendChunk("tRNS", image.transparency);
    std::size_t step = idatSize ? idatSize : std::max<std::size_t>(zlibStream.size(), 1);
    for (std::size_t pos = 0; pos < zlibStream.size(); pos += step) {
        std::size_t n = std::min(step, zlibStream.size() - pos);
        appendChunk("IDAT", Bytes(zlibStream.begin() + static_cast<std::ptrdiff_t>(pos),
                                  zlibStream.begin() + static_cast<std::ptrdiff_t>(pos + n)));
    }
    appendChunk("IEND", {});
    return out;
}

Bytes smallPng(unsigned width, unsigned height, unsigned colourType, unsigned depth) {
    SampleImage image = makeSampleImage(width, height, colourType, depth, 0, 1);
    Bytes raw = scanlines(image);
    return assemblePng(image, zlibWrap(deflateStored(raw), raw));
}

void BitWriter::bits(std::uint32_t value, unsigned count) {
    for (unsigned i = 0; i < count; ++i) {
        buffer_ |= ((value >> i) & 1) << count_;
        if (++count_ == 8) {
            bytes_.push_back(static_cast<unsigned char>(buffer_));
            buffer_ = count_ = 0;
        }
    }
}

void BitWriter::code(std::uint32_t value, unsigned length) { bits(reverse(value, length), length); }

void BitWriter::fixedSymbol(unsigned symbol) {
    if (symbol < 144) code(0x30 + symbol, 8);
    else if (symbol < 256)
        code(0x190 + symbol - 144, 9);
    else if (symbol < 280)
        code(symbol - 256, 7);
    else
        code(0xC0 + symbol - 280, 8);
}

void BitWriter::alignToByte() {
    if (count_ > 0) bits(0, 8 - count_);
}

Bytes BitWriter::finish() {
    alignToByte();
    return bytes_;
}

bool writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

bool readFile(const std::string& path, Bytes& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

}  // namespace PngTest
