#include "gui/caption_line.h"

#include "gui/container.h"
#include "gui/plug_data.h"
#include "render/font.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace Wispkit {

namespace {
constexpr int kLineSize = 144;
constexpr const char* kLearning = "..learning..";
}  // namespace

void drawCaptionLine(Paintwell::Context* context, Control* control, IPlugData* data, const char* name, unsigned index,
                     bool hover) {
    Container* parent = control->getParent();
    const auto left = static_cast<float>(absoluteX(control));
    const auto base = static_cast<float>(absoluteY(control) + static_cast<int>(control->getHeight()) - 2);
    const auto width = static_cast<float>(control->getWidth());
    if (parent != nullptr && parent->isMenuOpenFor(control)) {
        const Paintwell::Font* large = data->getFont(1);
        Paintwell::drawText(large, context, name, -1, left + (width - Paintwell::measureText(large, name, -1)) * 0.5f,
                            base, data->getColour(), false);
        return;
    }
    const Paintwell::Font* small = data->getFont(0);
    if (data->isLearning(index)) {
        Paintwell::drawText(small, context, kLearning, -1,
                            left + (width - Paintwell::measureText(small, kLearning, -1)) * 0.5f, base, 0xFFFFFFFFu,
                            false);
        return;
    }
    char value[32] = {};
    data->getValue(index, value);
    char line[kLineSize];
    std::snprintf(line, sizeof line, "%s: %s", name, value);
    // The name and its colon in the accent colour, the rest in white; a name
    // too long for the line is cut where the line ends.
    const int lineLength = static_cast<int>(std::strlen(line));
    int nameLength = static_cast<int>(std::strlen(name)) + 1;
    if (nameLength > lineLength) nameLength = lineLength;
    const float x = left + std::floor((width - Paintwell::measureText(small, line, -1)) * 0.5f);
    const float advance = Paintwell::drawText(small, context, line, nameLength, x, base, data->getColour(), hover);
    Paintwell::drawText(small, context, line + nameLength, -1, x + advance, base, 0xFFFFFFFFu, false);
}

}  // namespace Wispkit
