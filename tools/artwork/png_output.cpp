#include "tools/artwork/png_output.h"

#include "render/png/png_decoder.h"

#include <png.h>

#include <stdexcept>

namespace Artwork {

namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void noFlush(png_structp) {}

}  // namespace

Bytes encodePng(std::span<const std::uint32_t> pixels, int width, int height) {
    Bytes rows(static_cast<std::size_t>(width) * height * 4);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const std::uint32_t word = pixels[i];
        rows[i * 4 + 0] = static_cast<unsigned char>(word >> 16);
        rows[i * 4 + 1] = static_cast<unsigned char>(word >> 8);
        rows[i * 4 + 2] = static_cast<unsigned char>(word);
        rows[i * 4 + 3] = static_cast<unsigned char>(word >> 24);
    }

    Bytes file;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        throw std::runtime_error("libpng could not start");
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng failed to write");
    }
    png_set_write_fn(png, &file, appendBytes, noFlush);
    // Fixed compressor settings: the checked-in files are compared byte for byte.
    png_set_compression_level(png, 9);
    png_set_compression_mem_level(png, 8);
    png_set_compression_strategy(png, 0);
    png_set_compression_window_bits(png, 15);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) png_write_row(png, rows.data() + static_cast<std::size_t>(y) * width * 4);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return file;
}

std::string verifyPng(const Bytes& file, std::span<const std::uint32_t> pixels, int width, int height) {
    std::vector<unsigned char> rgba;
    unsigned w = 0, h = 0;
    const unsigned error = Paintwell::decodePNG(rgba, w, h, file.data(), file.size(), true);
    if (error != 0) return "the PNG reader reports error " + std::to_string(error);
    if (w != static_cast<unsigned>(width) || h != static_cast<unsigned>(height))
        return "the PNG reader sees " + std::to_string(w) + "x" + std::to_string(h);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const std::uint32_t word = static_cast<std::uint32_t>(rgba[i * 4 + 3]) << 24 | rgba[i * 4] << 16 |
                                   rgba[i * 4 + 1] << 8 | rgba[i * 4 + 2];
        if (word != pixels[i]) return "pixel " + std::to_string(i) + " reads back differently";
    }
    return {};
}

}  // namespace Artwork
