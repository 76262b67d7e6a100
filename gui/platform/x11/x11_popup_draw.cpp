// How the popup menu looks: the editor's dark panel, light text, the accent
// colour behind the highlighted item, disabled items dimmed, each item's key
// letter underlined.
#include "gui/platform/x11/x11_popup.h"

#include "gui/platform/x11/x11_palette.h"
#include "render/font.h"

namespace Wispkit::platform {

namespace {

using namespace palette;

constexpr float kTextLeft = 18;
constexpr float kBaseline = 14;

// The text in three runs, so that only the key letter is underlined.
void drawItemText(const Paintwell::Font* font, Paintwell::Context* context, const PopupItem& item, float y,
                  std::uint32_t colour) {
    const char* text = item.text.c_str();
    int length = static_cast<int>(item.text.size());
    int mark = item.mnemonicIndex;
    float x = kTextLeft;
    if (mark < 0 || mark >= length) {
        Paintwell::drawText(font, context, text, length, x, y, colour, false);
        return;
    }
    x += Paintwell::drawText(font, context, text, mark, x, y, colour, false);
    x += Paintwell::drawText(font, context, text + mark, 1, x, y, colour, true);
    Paintwell::drawText(font, context, text + mark + 1, length - mark - 1, x, y, colour, false);
}

}  // namespace

void Popup::draw(Paintwell::Context* context) {
    auto w = static_cast<float>(rect.width);
    auto h = static_cast<float>(rect.height);
    fillRect(context, 0, 0, w, h, kEdge);
    fillRect(context, 1, 1, w - 2, h - 2, kPanel);
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        const PopupItem& item = items[static_cast<std::size_t>(i)];
        auto top = static_cast<float>(itemTop(i));
        if (item.separator) {
            fillRect(context, 4, top + static_cast<float>(itemHeight(i) / 2), w - 8, 1, kRule);
            continue;
        }
        std::uint32_t colour = item.enabled ? kText : kDimmed;
        if (i == highlight) {
            fillRect(context, 2, top, w - 4, static_cast<float>(itemHeight(i)), kAccent);
            colour = kTextOnAccent;
        }
        drawItemText(surface->font(), context, item, top + kBaseline, colour);
    }
}

void Popup::paintIfDue() {
    if (!pointerGrabbed || !keyboardGrabbed) grab();
    if (!repaint) return;
    repaint = false;
    render();
}

void Popup::place() {
    surface->place(rect, [this](Paintwell::Context* context) { draw(context); });
}

void Popup::render() {
    surface->render([this](Paintwell::Context* context) { draw(context); });
}

}  // namespace Wispkit::platform
