// The decoder against an independent one: a generated corpus covering every
// colour type and depth, tRNS, palette sizes, Adam7, the five filters,
// stored, fixed and dynamic blocks from zlib and from our own writer, many
// small IDAT chunks and ancillary and unknown chunks. Each file must decode
// to the same RGBA as libpng's (expanded to 8 bits, 16-bit samples keeping
// their high byte) and to the pixels it was generated from.
#include "png_writer.h"
#include "render/png/png_decoder.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>

namespace {

using PngTest::Bytes;

struct MemoryReader {
    const Bytes* data;
    std::size_t pos;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* r = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (r->pos + length > r->data->size()) png_error(png, "read past the end");
    std::memcpy(out, r->data->data() + r->pos, length);
    r->pos += length;
}

void ignoreWarning(png_structp, png_const_charp) {}

// Gradients and stripes in place of noise, so that zlib finds matches and
// chooses dynamic blocks more often.
void makeSmooth(PngTest::SampleImage& image) {
    unsigned top = image.colourType == 3 ? unsigned(image.palette.size() / 3) - 1 : (1u << image.depth) - 1;
    unsigned ch = image.channels();
    for (unsigned y = 0; y < image.height; ++y)
        for (unsigned x = 0; x < image.width; ++x)
            for (unsigned c = 0; c < ch; ++c) {
                unsigned v = (x * (c + 1) + (y / 4) * 3 + c * 11) * (top / 31 + 1);
                image.samples[(std::size_t{y} * image.width + x) * ch + c] = static_cast<std::uint16_t>(v % (top + 1));
            }
}

// libpng's RGBA for a file, or an exception with its message.
Bytes decodeWithLibpng(const Bytes& file, unsigned& width, unsigned& height) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    MemoryReader reader{&file, 0};
    Bytes out;
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        throw std::runtime_error("libpng rejected the file");
    }
    png_set_error_fn(png, nullptr, nullptr, ignoreWarning);
    png_set_read_fn(png, &reader, readFromMemory);
    png_read_info(png, info);
    width = png_get_image_width(png, info);
    height = png_get_image_height(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != std::size_t{width} * 4) png_error(png, "not RGBA after expansion");
    out.resize(std::size_t{width} * height * 4);
    for (unsigned y = 0; y < height; ++y) rows.push_back(out.data() + std::size_t{y} * width * 4);
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return out;
}

enum class Compression { ZlibDefault, ZlibFixed, ZlibStored, ZlibRle, SmallWindow, OwnFixed, OwnStored };

Bytes compress(const Bytes& raw, Compression c) {
    if (c == Compression::OwnFixed) return PngTest::zlibWrap(PngTest::deflateFixed(raw), raw);
    if (c == Compression::OwnStored) return PngTest::zlibWrap(PngTest::deflateStored(raw, 997), raw);
    int level = c == Compression::ZlibStored ? 0 : 9;
    int strategy = c == Compression::ZlibFixed ? Z_FIXED : c == Compression::ZlibRle ? Z_RLE : Z_DEFAULT_STRATEGY;
    int windowBits = c == Compression::SmallWindow ? 9 : 15;
    z_stream s{};
    if (deflateInit2(&s, level, Z_DEFLATED, windowBits, 8, strategy) != Z_OK) throw std::runtime_error("deflateInit2");
    Bytes out(deflateBound(&s, static_cast<uLong>(raw.size())) + 16);
    s.next_in = const_cast<Bytef*>(raw.data());
    s.avail_in = static_cast<uInt>(raw.size());
    s.next_out = out.data();
    s.avail_out = static_cast<uInt>(out.size());
    if (deflate(&s, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate");
    out.resize(s.total_out);
    deflateEnd(&s);
    return out;
}

// Block types met in a zlib stream's first block header, as a name.
const char* firstBlockKind(const Bytes& z) {
    switch ((z[2] >> 1) & 3) {
    case 0: return "stored";
    case 1: return "fixed";
    case 2: return "dynamic";
    default: return "invalid";
    }
}

struct Format {
    unsigned colourType, depth;
};
constexpr Format kFormats[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                               {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};

class Corpus {
public:
    unsigned files = 0;
    std::map<std::string, unsigned> kinds;

    void check(const PngTest::SampleImage& image, Compression c, std::size_t idatSize,
               const std::vector<PngTest::Chunk>& extra, PngTest::FilterChoice filters = PngTest::cycleFilters) {
        Bytes raw = PngTest::scanlines(image, filters);
        Bytes z = compress(raw, c);
        Bytes file = PngTest::assemblePng(image, z, idatSize, extra);
        std::string name = "type " + std::to_string(image.colourType) + "/" + std::to_string(image.depth) + " " +
                           std::to_string(image.width) + "x" + std::to_string(image.height) +
                           (image.interlace ? " Adam7" : "") + (image.transparency.empty() ? "" : " tRNS") +
                           " palette " + std::to_string(image.palette.size() / 3) + " " + firstBlockKind(z) + " idat " +
                           std::to_string(idatSize) + " extra " + std::to_string(extra.size());
        SCOPED_TRACE(name);
        ++files;
        ++kinds[firstBlockKind(z)];
        if (image.interlace) ++kinds["Adam7"];
        if (!image.transparency.empty()) ++kinds["tRNS"];
        if (!extra.empty()) ++kinds["ancillary+unknown"];
        if (idatSize && idatSize < z.size()) ++kinds["split IDAT"];

        unsigned lw = 0, lh = 0;
        Bytes reference;
        ASSERT_NO_THROW(reference = decodeWithLibpng(file, lw, lh));
        Bytes ours;
        unsigned w = 0, h = 0;
        unsigned error = Paintwell::decodePNG(ours, w, h, file.data(), file.size(), true);
        ASSERT_EQ(error, 0u) << Paintwell::pngErrorText(error);
        ASSERT_EQ(w, lw);
        ASSERT_EQ(h, lh);
        ASSERT_EQ(ours.size(), reference.size());
        for (std::size_t i = 0; i < ours.size(); ++i)
            ASSERT_EQ(ours[i], reference[i])
                << "byte " << i % 4 << " of pixel (" << (i / 4) % w << ", " << (i / 4) / w << ")";
        EXPECT_EQ(ours, PngTest::expectedRGBA(image));
    }
};

std::vector<PngTest::Chunk> ancillaryChunks() {
    Bytes profile(200);
    for (std::size_t i = 0; i < profile.size(); ++i) profile[i] = static_cast<unsigned char>(i * 7);
    Bytes iccp = {'i', 'c', 'c', 0, 0};
    Bytes packedProfile = compress(profile, Compression::ZlibDefault);
    iccp.insert(iccp.end(), packedProfile.begin(), packedProfile.end());
    return {{"gAMA", {0, 0, 0xB1, 0x8F}},
            {"iCCP", iccp},
            {"tEXt", {'T', 'i', 't', 'l', 'e', 0, 'c', 'o', 'r', 'p', 'u', 's'}},
            {"vpAg", {1, 2, 3, 4, 5, 6, 7, 8, 9}},
            {"zzZz", {}}};
}

TEST(PngAgainstLibpng, GeneratedCorpusDecodesAlike) {
    Corpus corpus;
    const Compression compressions[] = {Compression::ZlibDefault, Compression::ZlibFixed,   Compression::ZlibStored,
                                        Compression::ZlibRle,     Compression::SmallWindow, Compression::OwnFixed,
                                        Compression::OwnStored};
    const unsigned sizes[][2] = {{1, 1}, {7, 3}, {33, 17}, {97, 61}};
    const std::size_t idatSizes[] = {0, 1, 13, 4096};
    std::uint32_t seed = 1000;
    unsigned variant = 0;
    for (const Format& f : kFormats)
        for (unsigned interlace = 0; interlace < 2; ++interlace)
            for (const auto& size : sizes)
                for (Compression c : compressions) {
                    ++variant;
                    auto image =
                        PngTest::makeSampleImage(size[0], size[1], f.colourType, f.depth, interlace, seed++,
                                                 f.colourType == 3 ? std::min(1u << f.depth, 1u + variant % 256) : 16);
                    if (variant % 2 == 0) makeSmooth(image);
                    bool keyed = f.colourType <= 3 && variant % 3 == 0;
                    if (keyed)
                        PngTest::addTransparency(image, seed, 1 + variant % (image.palette.size() / 3 + 1) % 256);
                    if (image.colourType == 3 && image.transparency.size() > image.palette.size() / 3)
                        image.transparency.resize(image.palette.size() / 3);
                    std::vector<PngTest::Chunk> extra;
                    if (variant % 4 == 1) extra = ancillaryChunks();
                    corpus.check(image, c, idatSizes[variant % 4], extra);
                    if (HasFatalFailure()) return;
                }

    // Each filter type alone, on the formats with the most filter strides.
    for (unsigned filter = 0; filter < 5; ++filter)
        for (const Format& f : {Format{6, 16}, Format{2, 8}, Format{0, 1}, Format{4, 8}}) {
            static unsigned chosen;
            chosen = filter;
            auto image = PngTest::makeSampleImage(41, 23, f.colourType, f.depth, filter % 2, seed++);
            corpus.check(image, Compression::ZlibDefault, 0, {}, [](unsigned) { return chosen; });
        }

    // Palettes of every size class, with full and partial alpha tables.
    for (unsigned entries : {1u, 2u, 3u, 17u, 128u, 255u, 256u}) {
        auto image = PngTest::makeSampleImage(50, 20, 3, 8, 0, seed++, entries);
        PngTest::addTransparency(image, seed, std::min(entries, 1 + entries / 2));
        corpus.check(image, Compression::ZlibDefault, 100, {});
    }

    std::string summary;
    for (const auto& [kind, count] : corpus.kinds) summary += kind + ": " + std::to_string(count) + ", ";
    std::printf("libpng comparison: %u files (%s)\n", corpus.files, summary.c_str());
    EXPECT_GT(corpus.kinds["stored"], 0u);
    EXPECT_GT(corpus.kinds["fixed"], 0u);
    EXPECT_GT(corpus.kinds["dynamic"], 0u);
}

}  // namespace
