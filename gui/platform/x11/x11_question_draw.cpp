// How the question looks: the popup menu's dark panel and edge, the caption
// in the accent colour above the text, and the buttons at the bottom right,
// the one Enter answers with filled with the accent colour.
#include "gui/platform/x11/x11_question.h"

#include "gui/platform/x11/x11_palette.h"
#include "render/font.h"

namespace Wispkit::platform {

namespace {

using namespace palette;

constexpr float kBaseline = 12;        // of a text line's 16 pixels
constexpr float kButtonBaseline = 16;  // of a button's 24

struct ButtonLook {
    std::uint32_t edge, fill, text;
};

ButtonLook lookOf(bool focused, bool hovered, bool held) {
    if (focused) return {kAccent, kAccent, kTextOnAccent};
    if (held) return {kEdge, kRule, kText};
    return {kEdge, hovered ? kHover : kPanel, kText};
}

}  // namespace

void Question::draw(Paintwell::Context* context) {
    const Paintwell::Font* font = surface->font();
    auto w = static_cast<float>(shape.width);
    auto h = static_cast<float>(shape.height);
    fillRect(context, 0, 0, w, h, kEdge);
    fillRect(context, 1, 1, w - 2, h - 2, kPanel);
    auto left = static_cast<float>(kQuestionMargin);
    auto y = static_cast<float>(kQuestionMargin) + kBaseline;
    Paintwell::drawText(font, context, caption.c_str(), -1, left, y, kAccent, false);
    y += kQuestionLineHeight + kQuestionCaptionGap;
    for (const std::string& line : shape.lines) {
        Paintwell::drawText(font, context, line.c_str(), static_cast<int>(line.size()), left, y, kText, false);
        y += kQuestionLineHeight;
    }
    for (int i = 0; i < 2; ++i) {
        const PopupRect& r = shape.buttons[i];
        ButtonLook look = lookOf(i == focus, i == hover, i == pressed && i == hover);
        auto bx = static_cast<float>(r.x), by = static_cast<float>(r.y);
        auto bw = static_cast<float>(r.width), bh = static_cast<float>(r.height);
        fillRect(context, bx, by, bw, bh, look.edge);
        fillRect(context, bx + 1, by + 1, bw - 2, bh - 2, look.fill);
        float textX = bx + (bw - surface->textWidth(kQuestionLabels[i])) * 0.5f;
        Paintwell::drawText(font, context, kQuestionLabels[i], -1, textX, by + kButtonBaseline, look.text, false);
    }
}

void Question::paintIfDue() {
    if (!repaint) return;
    repaint = false;
    render();
}

void Question::render() {
    surface->render([this](Paintwell::Context* context) { draw(context); });
}

}  // namespace Wispkit::platform
