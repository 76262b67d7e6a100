#include "gui/load_image.h"

#include "services/resources.h"

namespace Wispkit {

Image* loadImage(const char* name) {
    if (!name) return nullptr;
    auto bytes = Services::findResource("PNG", name);
    if (bytes.empty()) return nullptr;
    return new Image(bytes.data(), bytes.size());
}

}  // namespace Wispkit
