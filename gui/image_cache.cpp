#include "gui/image_cache.h"

#include "gui/image.h"
#include "gui/load_image.h"

#include <memory>
#include <new>

namespace Wispkit {

namespace {

struct Slot {
    std::unique_ptr<Image> image;
    bool tried = false;
};

struct Cache {
    Slot slots[2];
};

Cache cache;

}  // namespace

const Image* cachedImage(CachedImage which, const char* name) {
    Slot& slot = cache.slots[which == CachedImage::Background ? 0 : 1];
    if (!slot.tried && name != nullptr) {
        slot.tried = true;
        // A picture that exists but does not decode is left out: the frame
        // then draws without it, which is better than no editor at all.
        try {
            slot.image.reset(loadImage(name));
        } catch (const Image::Exception&) {
        } catch (const std::bad_alloc&) {
        }
    }
    return slot.image.get();
}

void freeCachedImages() {
    for (Slot& slot : cache.slots) {
        slot.image.reset();
        slot.tried = false;
    }
}

}  // namespace Wispkit
