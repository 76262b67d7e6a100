#include "gui/platform/x11/popup_layout.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace Wispkit::platform {

PopupItem parseItem(const char* text, unsigned id, bool enabled) {
    PopupItem item;
    item.id = id;
    item.enabled = enabled;
    std::size_t length = text != nullptr ? strnlen(text, kMaxItemBytes) : 0;
    for (std::size_t i = 0; i < length; ++i) {
        if (text[i] == '&' && i + 1 < length) {
            ++i;
            if (text[i] != '&' && item.mnemonicIndex < 0) {
                item.mnemonicIndex = static_cast<int>(item.text.size());
                item.key = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
            }
        }
        item.text.push_back(text[i]);
    }
    return item;
}

PopupItem separatorItem() {
    PopupItem item;
    item.separator = true;
    return item;
}

PopupRect placePopup(int px, int py, int align, int width, int height, int screenWidth, int screenHeight) {
    int x = align == -1 ? px : align == 1 ? px - width : px - width / 2;
    int y = py;
    if (y + height > screenHeight && py - height >= 0) y = py - height;
    x = std::max(0, std::min(x, screenWidth - width));
    y = std::max(0, std::min(y, screenHeight - height));
    return PopupRect{x, y, width, height};
}

std::string fitText(const std::string& text, float maxWidth, const std::function<float(const std::string&)>& measure,
                    int* mnemonicIndex) {
    if (measure(text) <= maxWidth) return text;
    std::size_t keep = text.size();
    while (keep > 0 && measure(text.substr(0, keep) + "...") > maxWidth) --keep;
    if (mnemonicIndex != nullptr && *mnemonicIndex >= static_cast<int>(keep)) *mnemonicIndex = -1;
    return text.substr(0, keep) + "...";
}

}  // namespace Wispkit::platform
