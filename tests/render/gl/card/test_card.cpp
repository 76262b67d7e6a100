// The renderer's test card: every blend and combine mode, the default
// texture, and text at both editor sizes in grey and LCD modes, rendered
// through a real device and written as a PNG a person can open.
//
//   paintwell_card OUT.png                       render the card
//   paintwell_card OUT.png --compare-with REF    render, then compare with REF
//
// The comparison allows two channel steps of difference (drivers round
// blends differently) and, where the two cards record different LCD orders,
// ignores the LCD text rows. Exit status 0 when the card was written (and
// matches), 1 otherwise.
#include "gl_harness.h"
#include "png_writer.h"

#include "render/font.h"
#include "render/png/png_decoder.h"
#include "render/shader.h"
#include "render/texture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace Paintwell;
using namespace PaintwellTest;

namespace {

constexpr int kCardWidth = 480;
constexpr int kCardHeight = 240;
constexpr int kLcdTop = 170;  // rows from here down hold the LCD text

std::vector<std::uint32_t> checker(unsigned size, std::uint32_t a, std::uint32_t b) {
    std::vector<std::uint32_t> pixels(size * size);
    for (unsigned y = 0; y < size; ++y)
        for (unsigned x = 0; x < size; ++x) pixels[y * size + x] = ((x / 4 + y / 4) % 2) ? a : b;
    return pixels;
}

StaticTexture* makeTexture(Device* device, unsigned size, const std::vector<std::uint32_t>& pixels) {
    StaticTexture* texture = device->createStaticTexture(size, size);
    texture->upload(pixels.data(), size, 0, 0, size, size);
    return texture;
}

// Five rows of combine modes, five columns of blend modes, three colour
// alphas in each cell, over a striped background.
void drawModes(Context* context, Texture* first, Texture* second) {
    {
        Shader stripes(context, BlendNone, CombineColor);
        for (int x = 0; x < kCardWidth; x += 16) context->drawQuad(makeQuad(float(x), 0, 8, 160, 0, 0, 0xFF3060A0));
    }
    const std::uint32_t alphas[3] = {0x00, 0x80, 0xFF};
    for (int combine = 0; combine < 5; ++combine) {
        for (int blend = 0; blend < 5; ++blend) {
            Shader shader(context, blend, combine, first, second);
            for (int a = 0; a < 3; ++a) {
                float x = 8.0f + blend * 72.0f + a * 20.0f, y = 8.0f + combine * 30.0f;
                context->drawQuad(makeQuad(x, y, 16, 16, 0, 0, alphas[a] << 24 | 0x00E0A040));
            }
        }
    }
}

void drawDefaultTexture(Context* context) {
    Shader shader(context, BlendNone, CombineModulate);
    context->drawQuad(makeQuad(380, 8, 4, 4, 0, 0, 0xFFFFFFFF));
    Quad large = makeQuad(380, 20, 32, 32, 0, 0, 0xFFFFFFFF);
    large.texRight = large.texBottom = 4;
    context->drawQuad(large);
}

void drawText(Context* context, Font* small, Font* large, bool rgb) {
    const char* sample = "Tallow Reed 0.25 ms ..learning.. Ag_|";
    setTextMode(false, rgb);
    Paintwell::drawText(small, context, sample, -1, 8, 176 - 10, 0xFFFFFFFF, false);
    Paintwell::drawText(large, context, sample, -1, 215, 176 - 10, 0xFFF0C080, true);
    setTextMode(true, rgb);
    Paintwell::drawText(small, context, sample, -1, 8, 200, 0xFFFFFFFF, false);
    Paintwell::drawText(large, context, sample, -1, 215, 200, 0xFFF0C080, true);
    Paintwell::drawText(large, context, sample, -1, 8.33f, 226, 0xFF80FF80, false);
}

PngTest::Bytes encode(const Frame& frame, bool rgb) {
    PngTest::SampleImage image;
    image.width = unsigned(frame.width);
    image.height = unsigned(frame.height);
    image.colourType = 6;
    image.depth = 8;
    for (std::uint32_t p : frame.pixels) {
        image.samples.push_back((p >> 16) & 0xFF);
        image.samples.push_back((p >> 8) & 0xFF);
        image.samples.push_back(p & 0xFF);
        image.samples.push_back(0xFF);
    }
    PngTest::Bytes raw = PngTest::scanlines(image, [](unsigned) { return 0u; });
    std::string order = std::string("lcd-order") + '\0' + (rgb ? "rgb" : "bgr");
    PngTest::Chunk text{"tEXt", PngTest::Bytes(order.begin(), order.end())};
    return PngTest::assemblePng(image, PngTest::zlibWrap(PngTest::deflateStored(raw), raw), 0, {text});
}

// The LCD order a card recorded in its tEXt chunk.
std::string lcdOrder(const PngTest::Bytes& png) {
    const std::string key = std::string("tEXtlcd-order") + '\0';
    std::string all(png.begin(), png.end());
    std::size_t at = all.find(key);
    return at == std::string::npos ? std::string() : all.substr(at + key.size(), 3);
}

int compare(const PngTest::Bytes& ours, const std::string& referencePath) {
    PngTest::Bytes theirs;
    if (!PngTest::readFile(referencePath, theirs)) {
        std::fprintf(stderr, "no reference card at %s: render it first (the native tests do)\n", referencePath.c_str());
        return 1;
    }
    std::vector<unsigned char> a, b;
    unsigned wa = 0, ha = 0, wb = 0, hb = 0;
    if (Paintwell::decodePNG(a, wa, ha, ours.data(), ours.size(), true) ||
        Paintwell::decodePNG(b, wb, hb, theirs.data(), theirs.size(), true) || wa != wb || ha != hb) {
        std::fprintf(stderr, "the cards do not decode to the same size\n");
        return 1;
    }
    bool sameOrder = lcdOrder(ours) == lcdOrder(theirs);
    unsigned rows = sameOrder ? ha : unsigned(kLcdTop);
    int worst = 0;
    unsigned differing = 0;
    for (unsigned y = 0; y < rows; ++y) {
        for (unsigned x = 0; x < wa; ++x) {
            for (unsigned c = 0; c < 3; ++c) {
                std::size_t i = (std::size_t(y) * wa + x) * 4 + c;
                int d = std::abs(int(a[i]) - int(b[i]));
                worst = std::max(worst, d);
                differing += d > 2;
            }
        }
    }
    std::printf("compared %u rows%s: largest channel difference %d, %u channel values beyond 2\n", rows,
                sameOrder ? "" : " (LCD orders differ, LCD rows left out)", worst, differing);
    return differing == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 4 && std::strcmp(argv[2], "--compare-with") == 0)) {
        std::fprintf(stderr, "usage: %s OUT.png [--compare-with REFERENCE.png]\n", argv[0]);
        return 1;
    }
    try {
        TestWindow window(kCardWidth, kCardHeight);
        auto* device = new GLDevice(window.native());
        Font* small = device->createFont("Vera", 8);
        Font* large = device->createFont("Vera", 10);
        bool rgb = subpixelRGB();
        StaticTexture* first = makeTexture(device, 16, checker(16, 0xFFF04020, 0x80204080));
        StaticTexture* second = makeTexture(device, 16, checker(16, 0xC0C0C0C0, 0xFF10E010));
        Frame frame = renderFrame(device, [&](Context* context) {
            drawModes(context, first, second);
            drawDefaultTexture(context);
            drawText(context, small, large, rgb);
        });
        first->release();
        second->release();
        releaseFont(small);
        releaseFont(large);
        device->release();
        PngTest::Bytes png = encode(frame, rgb);
        if (!small || !large || !PngTest::writeFile(argv[1], png)) {
            std::fprintf(stderr, "could not render the card to %s\n", argv[1]);
            return 1;
        }
        std::printf("test card: %s (%dx%d, LCD order %s)\n", argv[1], frame.width, frame.height, rgb ? "rgb" : "bgr");
        return argc == 4 ? compare(png, argv[3]) : 0;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "the test card failed: %s\n", failure.what());
        return 1;
    }
}
