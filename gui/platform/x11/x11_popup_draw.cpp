// How the popup menu looks: the editor's dark panel, light text, the accent
// colour behind the highlighted item, disabled items dimmed, each item's key
// letter underlined.
#include "gui/platform/x11/x11_popup.h"

#include "render/exception.h"
#include "render/font.h"
#include "render/gl_device.h"
#include "render/scene.h"
#include "render/shader.h"

namespace Wispkit::platform {

namespace {

constexpr std::uint32_t kPanel = 0xFF262626;
constexpr std::uint32_t kEdge = 0xFF5C5C5C;
constexpr std::uint32_t kAccent = 0xFFE1804F;
constexpr std::uint32_t kText = 0xFFE6E6E6;
constexpr std::uint32_t kTextOnAccent = 0xFF101010;
constexpr std::uint32_t kDimmed = 0xFF7A7A7A;
constexpr std::uint32_t kRule = 0xFF4A4A4A;
constexpr float kTextLeft = 18;
constexpr float kBaseline = 14;

void fill(Paintwell::Context* context, float x, float y, float w, float h, std::uint32_t colour) {
    Paintwell::Shader plain(context, Paintwell::BlendNone, Paintwell::CombineColor);
    context->drawQuad(Paintwell::makeQuad(x, y, w, h, 0, 0, colour));
}

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

class PopupScene : public Paintwell::Scene {
public:
    explicit PopupScene(Popup* popup) : popup(popup) {}
    void draw(Paintwell::Context* context) override { popup->draw(context); }

private:
    Popup* popup;
};

}  // namespace

void Popup::draw(Paintwell::Context* context) {
    auto w = static_cast<float>(rect.width);
    auto h = static_cast<float>(rect.height);
    fill(context, 0, 0, w, h, kEdge);
    fill(context, 1, 1, w - 2, h - 2, kPanel);
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        const PopupItem& item = items[static_cast<std::size_t>(i)];
        auto top = static_cast<float>(itemTop(i));
        if (item.separator) {
            fill(context, 4, top + static_cast<float>(itemHeight(i) / 2), w - 8, 1, kRule);
            continue;
        }
        std::uint32_t colour = item.enabled ? kText : kDimmed;
        if (i == highlight) {
            fill(context, 2, top, w - 4, static_cast<float>(itemHeight(i)), kAccent);
            colour = kTextOnAccent;
        }
        drawItemText(font, context, item, top + kBaseline, colour);
    }
}

void Popup::paintIfDue() {
    if (!pointerGrabbed || !keyboardGrabbed) grab();
    if (!repaint) return;
    repaint = false;
    render();
}

void Popup::render() {
    if (device == nullptr) return;
    PopupScene scene(this);
    try {
        device->render(&scene);
    } catch (const Paintwell::Exception&) {
        // A menu that cannot draw still answers keys and clicks.
    }
}

}  // namespace Wispkit::platform
