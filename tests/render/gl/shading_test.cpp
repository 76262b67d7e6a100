// Every blend and combine mode against values worked out by hand, the
// default texture, nested shaders, and texel addressing with and without
// rectangle textures.
#include "gl_harness.h"

#include "render/gl_texture.h"
#include "render/shader.h"
#include "render/test_hooks.h"

#include <algorithm>
#include <array>
#include <cmath>

using namespace Paintwell;
using namespace PaintwellTest;

namespace {

using Rgba = std::array<double, 4>;  // r, g, b, a in 0..1

Rgba unpack(std::uint32_t word) {
    return {((word >> 16) & 0xFF) / 255.0, ((word >> 8) & 0xFF) / 255.0, (word & 0xFF) / 255.0, (word >> 24) / 255.0};
}

std::uint32_t pack(const Rgba& c) {
    auto byte = [](double v) { return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
    return byte(c[3]) << 24 | byte(c[0]) << 16 | byte(c[1]) << 8 | byte(c[2]);
}

// What the texture units give for a fragment, by the combine mode's
// definition.
Rgba combined(int combine, const Rgba& colour, const Rgba& t0, const Rgba& t1) {
    Rgba out{};
    for (int i = 0; i < 4; ++i) {
        switch (combine) {
        case CombineColor: out[i] = colour[i]; break;
        case CombineModulate: out[i] = t0[i] * colour[i]; break;
        case CombineMask: out[i] = i < 3 ? t0[i] * colour[i] : colour[3]; break;
        case CombineModulate2: out[i] = t0[i] * colour[i] * t1[i]; break;
        case CombineCrossfade: {
            double mixed = t1[i] * colour[3] + t0[i] * (1 - colour[3]);
            out[i] = i < 3 ? mixed * colour[i] : mixed;
            break;
        }
        }
    }
    return out;
}

// The framebuffer after blending source over destination.
Rgba blended(int blend, const Rgba& s, const Rgba& d) {
    Rgba out = d;
    for (int i = 0; i < 3; ++i) {
        switch (blend) {
        case BlendNone: out[i] = s[i]; break;
        case BlendPremultiplied: out[i] = s[i] + d[i] * (1 - s[3]); break;
        case BlendAdditive: out[i] = std::min(1.0, s[i] + d[i]); break;
        case BlendAlpha: out[i] = s[i] * s[3] + d[i] * (1 - s[3]); break;
        case BlendSubpixel: out[i] = s[i] * s[3] + d[i] * (1 - s[i]); break;
        }
    }
    return out;
}

constexpr std::uint32_t kBackground = 0xFF305078;
constexpr std::uint32_t kTexel0 = 0xC0F08030;
constexpr std::uint32_t kTexel1 = 0x60407FE0;

}  // namespace

class ModeTest : public GLTest, public ::testing::WithParamInterface<int> {};

// Each cell of the frame draws one blend mode at one colour alpha over the
// same background; one frame holds a combine mode's fifteen cases.
TEST_P(ModeTest, EveryBlendModeAtAlpha0_128_255MatchesTheHandWorkedValue) {
    int combine = GetParam();
    StaticTexture* first = solidTexture(kTexel0);
    StaticTexture* second = solidTexture(kTexel1);
    const int alphas[] = {0, 128, 255};
    const std::uint32_t rgb = 0x00C060A0;
    Frame frame = render([&](Context* context) {
        {
            Shader background(context, BlendNone, CombineColor);
            context->drawQuad(makeQuad(0, 0, kWidth, kHeight, 0, 0, kBackground));
        }
        Shader shader(context, BlendNone, combine, first, second);
        for (int blend = 0; blend < 5; ++blend) {
            Shader cell(context, blend, combine, first, second);
            for (int a = 0; a < 3; ++a) {
                std::uint32_t colour = static_cast<std::uint32_t>(alphas[a]) << 24 | rgb;
                context->drawQuad(makeQuad(8.0f * blend * 3 + 8.0f * a, 8, 8, 8, 0, 0, colour));
            }
        }
    });
    for (int blend = 0; blend < 5; ++blend) {
        for (int a = 0; a < 3; ++a) {
            std::uint32_t colour = static_cast<std::uint32_t>(alphas[a]) << 24 | rgb;
            Rgba source = combined(combine, unpack(colour), unpack(kTexel0), unpack(kTexel1));
            std::uint32_t expected = pack(blended(blend, source, unpack(kBackground)));
            EXPECT_TRUE(rgbNear(frame.at(8 * blend * 3 + 8 * a + 4, 12), expected, 2))
                << "blend " << blend << " alpha " << alphas[a];
        }
    }
    first->release();
    second->release();
}

INSTANTIATE_TEST_SUITE_P(CombineModes, ModeTest,
                         ::testing::Values(int(CombineColor), int(CombineModulate), int(CombineMask),
                                           int(CombineModulate2), int(CombineCrossfade)));

using ShaderTest = GLTest;

TEST_F(ShaderTest, CrossfadeShowsTextureZeroAtAlpha0AndTextureOneAtAlpha255TintedByTheColour) {
    StaticTexture* red = solidTexture(0xFFFF0000);
    StaticTexture* blue = solidTexture(0xFF0000FF);
    Frame frame = render([&](Context* context) {
        Shader shader(context, BlendNone, CombineCrossfade, red, blue);
        context->drawQuad(makeQuad(0, 0, 8, 8, 0, 0, 0x00FFFFFF));
        context->drawQuad(makeQuad(8, 0, 8, 8, 0, 0, 0xFFFFFFFF));
        context->drawQuad(makeQuad(16, 0, 8, 8, 0, 0, 0xFF80FF80));
    });
    EXPECT_TRUE(rgbNear(frame.at(4, 4), 0xFFFF0000, 1));
    EXPECT_TRUE(rgbNear(frame.at(12, 4), 0xFF0000FF, 1));
    EXPECT_TRUE(rgbNear(frame.at(20, 4), 0xFF000080, 1));
    red->release();
    blue->release();
}

TEST_F(ShaderTest, AnInnerShaderHandsTheStateBackToTheOuterOne) {
    StaticTexture* green = solidTexture(0xFF00FF00);
    Frame frame = render([&](Context* context) {
        Shader outer(context, BlendNone, CombineModulate, green);
        context->drawQuad(makeQuad(0, 0, 8, 8, 0, 0, 0xFFFFFFFF));
        {
            Shader inner(context, BlendNone, CombineColor);
            context->drawQuad(makeQuad(8, 0, 8, 8, 0, 0, 0xFFFF00FF));
        }
        context->drawQuad(makeQuad(16, 0, 8, 8, 0, 0, 0xFFFFFFFF));
    });
    EXPECT_TRUE(rgbNear(frame.at(4, 4), 0xFF00FF00, 1));
    EXPECT_TRUE(rgbNear(frame.at(12, 4), 0xFFFF00FF, 1));
    EXPECT_TRUE(rgbNear(frame.at(20, 4), 0xFF00FF00, 1));
    green->release();
}

TEST_F(ShaderTest, ZeroQuadsDrawNothingAndTheStateStillApplies) {
    Frame frame = render([&](Context* context) {
        Shader shader(context, BlendAdditive, CombineColor);
        context->drawQuads(nullptr, 0);
        // Additive state is already in force for a draw with no new shader.
        context->drawQuad(makeQuad(0, 0, 8, 8, 0, 0, 0xFF101010));
    });
    EXPECT_TRUE(rgbNear(frame.at(4, 4), 0xFF2A2A2A, 1));
    EXPECT_TRUE(rgbNear(frame.at(12, 4), 0xFF1A1A1A, 1));
}

TEST_F(ShaderTest, UploadIsClippedToTheTextureAndIgnoredOutsideIt) {
    StaticTexture* target = solidTexture(0xFF000000);
    std::vector<std::uint32_t> white(16 * 16, 0xFFFFFFFF);
    target->upload(white.data(), 16, 6, 6, 16, 16);  // reaches beyond the 8x8 texture
    target->upload(white.data(), 16, 9, 0, 4, 4);    // starts outside: nothing to copy
    Frame frame = render([&](Context* context) {
        Shader shader(context, BlendNone, CombineModulate, target);
        context->drawQuad(makeQuad(0, 0, 8, 8, 0, 0, 0xFFFFFFFF));
    });
    EXPECT_TRUE(rgbNear(frame.at(7, 7), 0xFFFFFFFF, 1));
    EXPECT_TRUE(rgbNear(frame.at(6, 6), 0xFFFFFFFF, 1));
    EXPECT_TRUE(rgbNear(frame.at(5, 7), 0xFF000000, 1));
    EXPECT_TRUE(rgbNear(frame.at(7, 0), 0xFF000000, 1));
    target->release();
}

namespace {

// A 6x5 picture with a different word in every texel, at odd offsets in a
// larger texture so that addressing errors show.
std::vector<std::uint32_t> pattern(unsigned width, unsigned height) {
    std::vector<std::uint32_t> pixels(width * height);
    for (unsigned y = 0; y < height; ++y)
        for (unsigned x = 0; x < width; ++x)
            pixels[y * width + x] = 0xFF000000u | (x * 40) << 16 | (y * 50) << 8 | ((x + y) * 20);
    return pixels;
}

Frame drawPattern(GLDevice* device, bool& rectangle, unsigned& allocatedWidth, unsigned& allocatedHeight) {
    StaticTexture* texture = device->createStaticTexture(600, 480);
    std::vector<std::uint32_t> picture = pattern(6, 5);
    texture->upload(picture.data(), 6, 100, 200, 6, 5);
    rectangle = device->usesRectangleTextures();
    auto* gl = dynamic_cast<GLTexture*>(static_cast<Texture*>(texture));
    allocatedWidth = gl->width();
    allocatedHeight = gl->height();
    Frame frame = renderFrame(device, [&](Context* context) {
        Shader shader(context, BlendNone, CombineModulate, texture);
        context->drawQuad(makeQuad(10, 10, 6, 5, 100, 200, 0xFFFFFFFF));
    });
    texture->release();
    return frame;
}

}  // namespace

TEST_F(ShaderTest, PowerOfTwoFallbackGivesTheSamePictureAsRectangleTextures) {
    bool rectangle = false;
    unsigned width = 0, height = 0;
    Frame withRectangles = drawPattern(device(), rectangle, width, height);
    ASSERT_TRUE(rectangle) << "the driver offers no rectangle textures";
    EXPECT_EQ(width, 600u);
    EXPECT_EQ(height, 480u);
    releaseDevice();

    Paintwell::testing::setExtensionOverride("GL_ARB_multitexture GL_ARB_texture_env_combine");
    glDevice = new GLDevice(window->native());
    Frame withPowersOfTwo = drawPattern(device(), rectangle, width, height);
    EXPECT_FALSE(rectangle);
    EXPECT_EQ(width, 1024u);
    EXPECT_EQ(height, 512u);

    std::vector<std::uint32_t> picture = pattern(6, 5);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 6; ++x) {
            EXPECT_TRUE(rgbNear(withRectangles.at(10 + x, 10 + y), picture[y * 6 + x], 1)) << x << "," << y;
            EXPECT_TRUE(rgbNear(withPowersOfTwo.at(10 + x, 10 + y), picture[y * 6 + x], 1)) << x << "," << y;
        }
    }
}

TEST(TextureSizeTest, PowerOfTwoAllocationRoundsEachSideUp) {
    EXPECT_EQ(powerOfTwoAtLeast(0), 1u);
    EXPECT_EQ(powerOfTwoAtLeast(1), 1u);
    EXPECT_EQ(powerOfTwoAtLeast(4), 4u);
    EXPECT_EQ(powerOfTwoAtLeast(5), 8u);
    EXPECT_EQ(powerOfTwoAtLeast(477), 512u);
    EXPECT_EQ(powerOfTwoAtLeast(600), 1024u);
    EXPECT_EQ(powerOfTwoAtLeast(0x80000001u), 0x80000000u);  // stops instead of wrapping to 0
}
