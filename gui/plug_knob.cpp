#include "gui/plug_knob.h"

#include "gui/container.h"
#include "gui/plug_data.h"
#include "render/context.h"
#include "render/font.h"
#include "render/quad.h"
#include "render/shader.h"
#include "render/texture.h"

namespace Wispkit {

namespace {
constexpr int kHitRadiusSquared = 1024;
constexpr float kBodyU = 320.0f;  // the body's place on the sheet
constexpr float kCell = 40.0f;    // one pointer frame
constexpr unsigned kColumns = 8;
constexpr float kLastFrame = 95.0f;
constexpr std::uint32_t kHotPointer = 0xFFFFFFu;
constexpr std::uint32_t kPointer = 0xE0E0E0u;

float cellU(unsigned frame) { return kCell * static_cast<float>(frame % kColumns); }
float cellV(unsigned frame) { return kCell * static_cast<float>(frame / kColumns); }
}  // namespace

PlugKnob::PlugKnob(Container* parent, IPlugData* plugData, const char* name, unsigned index, int x, int y)
    : PlugKnobBase(parent, plugData, name, index, x, y, kSize, kSize) {}

bool PlugKnob::hitTest(int x, int y) {
    const int dx = x - static_cast<int>(width / 2);
    const int dy = y - static_cast<int>(height / 2);
    return dx * dx + dy * dy < kHitRadiusSquared;
}

void PlugKnob::draw(Paintwell::Context* context) {
    char text[32] = {};
    const float v = plugData->getValue(index, text);
    const auto left = static_cast<float>(absoluteX(parent) + x);
    const auto top = static_cast<float>(absoluteY(parent) + y - 4);
    // Without the sheet (missing or undecodable) only the texts are drawn.
    if (Paintwell::StaticTexture* sheet = plugData->getSheet()) {
        Paintwell::Shader shader(context, Paintwell::BlendPremultiplied, Paintwell::CombineCrossfade, sheet, sheet);
        const float f = v * kLastFrame;
        const auto n = static_cast<unsigned>(f);
        const float w = f - static_cast<float>(n);
        const std::uint32_t alpha = static_cast<std::uint32_t>(w * 255.0f) << 24;
        const std::uint32_t rgb = hover || dragging ? kHotPointer : kPointer;
        const Paintwell::Quad quads[2] = {
            Paintwell::makeQuad(left, top, kSize, kSize, kBodyU, 0, 0xFFFFFFFFu),
            Paintwell::Quad{left + 20, top + 20, left + 60, top + 60, cellU(n), cellV(n), cellU(n) + kCell,
                            cellV(n) + kCell, cellU(n + 1), cellV(n + 1), cellU(n + 1) + kCell, cellV(n + 1) + kCell,
                            alpha | rgb},
        };
        context->drawQuads(quads, 2);
    }
    const float cx = static_cast<float>(absoluteX(parent) + x) + static_cast<float>(width) * 0.5f;
    const auto base = static_cast<float>(absoluteY(parent) + y + static_cast<int>(height) - 2);
    const bool menuOpen = parent != nullptr && parent->isMenuOpenFor(this);
    const Paintwell::Font* nameFont = plugData->getFont(menuOpen ? 1 : 0);
    Paintwell::drawText(nameFont, context, name, -1, cx - Paintwell::measureText(nameFont, name, -1) / 2, base - 12,
                        plugData->getColour(), hover && !dragging);
    const char* value = plugData->isLearning(index) ? "..learning.." : text;
    const Paintwell::Font* valueFont = plugData->getFont(dragging ? 1 : 0);
    Paintwell::drawText(valueFont, context, value, -1, cx - Paintwell::measureText(valueFont, value, -1) / 2, base,
                        0xFFFFFFFFu, false);
}

}  // namespace Wispkit
