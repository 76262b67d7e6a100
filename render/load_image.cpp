#include "render/load_image.h"

#include "core/platform/platform.h"

namespace Wispkit {

Image* loadImage(const char* name)
{
    if (!name)
        return nullptr;
    auto bytes = PlugCore::platform::findResource("PNG", name);
    if (bytes.empty())
        return nullptr;
    return new Image(bytes.data(), bytes.size());
}

}  // namespace Wispkit
