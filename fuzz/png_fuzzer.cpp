// Feeds arbitrary bytes to the PNG decoder and to the image built on it. The
// sanitizers catch any read or write outside a buffer; the checks below catch
// a decoder that reports success with an output of the wrong size.
#include "gui/image.h"
#include "render/png/png_decoder.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<unsigned char> out;
    unsigned width = 0, height = 0;
    unsigned error = Paintwell::decodePNG(out, width, height, data, size, true);
    if (error == 0 && out.size() != std::size_t{width} * height * 4) std::abort();
    if (error != 0 && !out.empty()) std::abort();

    std::vector<unsigned char> packed;
    unsigned error2 = Paintwell::decodePNG(packed, width, height, data, size, false);
    // Palette indices are only checked while converting to RGBA.
    bool paletteError = error == Paintwell::kPngPaletteIndex8 || error == Paintwell::kPngPaletteIndexPacked;
    if (paletteError ? error2 != 0 : error2 != error) std::abort();

    try {
        Wispkit::Image image(data, size);
        if (error != 0 || image.getWidth() != width || image.getHeight() != height) std::abort();
    } catch (const Wispkit::Image::Exception&) {
        if (error == 0 && size >= 4 && data[0] == 137 && data[1] == 'P' && data[2] == 'N' && data[3] == 'G')
            std::abort();
    }
    return 0;
}
