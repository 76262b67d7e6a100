// Decode speed of the PNG decoder against libpng on the same file: a 600x480
// 8-bit RGBA sheet of gradients, soft shapes and a little noise, written by
// libpng with its default filters and compression. Both decode to 8-bit RGBA.
#include "render/png/png_decoder.h"

#include <benchmark/benchmark.h>
#include <png.h>

#include <cmath>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace {

constexpr unsigned kWidth = 600, kHeight = 480;

std::vector<unsigned char> sheetPixels() {
    std::vector<unsigned char> rgba(std::size_t{kWidth} * kHeight * 4);
    std::uint32_t noise = 12345;
    for (unsigned y = 0; y < kHeight; ++y)
        for (unsigned x = 0; x < kWidth; ++x) {
            unsigned char* p = &rgba[(std::size_t{y} * kWidth + x) * 4];
            double cx = (x % 80) - 40.0, cy = (y % 80) - 40.0;
            double r = std::sqrt(cx * cx + cy * cy);
            double disc = std::clamp(36.0 - r, 0.0, 1.0);
            noise = noise * 1664525u + 1013904223u;
            int grain = static_cast<int>((noise >> 24) & 7) - 4;
            p[0] = static_cast<unsigned char>(std::clamp(int(x * 255 / kWidth) + grain, 0, 255));
            p[1] = static_cast<unsigned char>(std::clamp(int(y * 255 / kHeight) + grain, 0, 255));
            p[2] = static_cast<unsigned char>(std::clamp(int(128 + 100 * std::sin(r / 6.0)) + grain, 0, 255));
            p[3] = static_cast<unsigned char>(disc * 255);
        }
    return rgba;
}

void appendToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

std::vector<unsigned char> encodeSheet() {
    std::vector<unsigned char> pixels = sheetPixels(), file;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) throw std::runtime_error("libpng could not write the sheet");
    png_set_write_fn(png, &file, appendToVector, nullptr);
    png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (unsigned y = 0; y < kHeight; ++y) png_write_row(png, &pixels[std::size_t{y} * kWidth * 4]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return file;
}

const std::vector<unsigned char>& sheet() {
    static const std::vector<unsigned char> file = encodeSheet();
    return file;
}

struct Reader {
    const unsigned char* data;
    std::size_t pos, size;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* r = static_cast<Reader*>(png_get_io_ptr(png));
    if (r->pos + length > r->size) png_error(png, "read past the end");
    std::memcpy(out, r->data + r->pos, length);
    r->pos += length;
}

void decodeWithLibpng(const std::vector<unsigned char>& file, std::vector<unsigned char>& out) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    Reader reader{file.data(), 0, file.size()};
    if (setjmp(png_jmpbuf(png))) throw std::runtime_error("libpng could not read the sheet");
    png_set_read_fn(png, &reader, readFromMemory);
    png_read_info(png, info);
    png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    out.resize(std::size_t{w} * h * 4);
    std::vector<png_bytep> rows(h);
    for (png_uint_32 y = 0; y < h; ++y) rows[y] = &out[std::size_t{y} * w * 4];
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
}

void setCounters(benchmark::State& state) {
    state.counters["Mpixel/s"] =
        benchmark::Counter(double(kWidth) * kHeight / 1e6, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["file_bytes"] = double(sheet().size());
}

void BM_DecodeSheet_Ours(benchmark::State& state) {
    const auto& file = sheet();
    std::vector<unsigned char> out;
    unsigned w = 0, h = 0;
    for (auto _ : state) {
        if (Paintwell::decodePNG(out, w, h, file.data(), file.size(), true) != 0) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(out.data());
    }
    setCounters(state);
}

void BM_DecodeSheet_Libpng(benchmark::State& state) {
    const auto& file = sheet();
    std::vector<unsigned char> out;
    for (auto _ : state) {
        decodeWithLibpng(file, out);
        benchmark::DoNotOptimize(out.data());
    }
    setCounters(state);
}

BENCHMARK(BM_DecodeSheet_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeSheet_Libpng)->Unit(benchmark::kMillisecond);

}  // namespace
