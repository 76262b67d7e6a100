// A device and context that record instead of drawing: what text asks of
// the renderer (textures, uploads, shaders, quads) without any GL.
#pragma once

#include "render/context.h"
#include "render/device.h"
#include "render/shader.h"
#include "render/texture.h"

#include <cstdint>
#include <vector>

namespace PaintwellTest {

class RecordedTexture : public Paintwell::StaticTexture {
public:
    RecordedTexture(unsigned width, unsigned height, int& live) : width(width), height(height), live(live) { ++live; }
    void release() override {
        --live;
        delete this;
    }
    void upload(const std::uint32_t* source, unsigned rowLength, unsigned x, unsigned y, unsigned w,
                unsigned h) override {
        pixels.assign(static_cast<std::size_t>(width) * height, 0);
        for (unsigned j = 0; j < h && y + j < height; ++j)
            for (unsigned i = 0; i < w && x + i < width; ++i)
                pixels[(y + j) * width + x + i] = source[j * rowLength + i];
    }
    std::uint32_t at(unsigned x, unsigned y) const { return pixels[y * width + x]; }

    unsigned width, height;
    std::vector<std::uint32_t> pixels;

private:
    int& live;
};

/// One drawQuads call and the state it drew with.
struct RecordedDraw {
    int blend = -1;
    int combine = -1;
    Paintwell::Texture* texture0 = nullptr;
    Paintwell::Texture* texture1 = nullptr;
    std::vector<Paintwell::Quad> quads;
};

class RecordingContext : public Paintwell::Device, public Paintwell::Context {
public:
    void release() override {}
    Paintwell::StaticTexture* createTextureFromPNG(const void*, std::size_t) override { return nullptr; }
    Paintwell::StaticTexture* createStaticTexture(unsigned width, unsigned height) override {
        lastTexture = new RecordedTexture(width, height, liveTextures);
        return lastTexture;
    }
    void render(Paintwell::Scene*) override {}

    void* reserved(void*) override { return nullptr; }
    Paintwell::Shader* setShader(Paintwell::Shader* shader) override {
        Paintwell::Shader* previous = current;
        current = shader;
        return previous;
    }
    void applyShader(int, int, Paintwell::Texture*, Paintwell::Texture*) override {}
    void drawQuads(const Paintwell::Quad* quads, unsigned count) override {
        RecordedDraw draw;
        if (current) {
            draw.blend = current->blend();
            draw.combine = current->combine();
            draw.texture0 = current->texture0();
            draw.texture1 = current->texture1();
        }
        draw.quads.assign(quads, quads + count);
        draws.push_back(draw);
    }
    Paintwell::Device* getDevice() override { return this; }
    Paintwell::Font* createFont(const char*, float) override { return nullptr; }

    Paintwell::Shader* current = nullptr;
    std::vector<RecordedDraw> draws;
    RecordedTexture* lastTexture = nullptr;
    int liveTextures = 0;
};

}  // namespace PaintwellTest
