// Images from the module's own "PNG" resources (the editor's texture sheets).
//
// Threads: the editor's thread. Ownership: the caller owns the image; the
// editor keeps its two sheets for the life of the module.
#pragma once

#include "gui/image.h"

namespace Wispkit {

/// The module's PNG resource `name` decoded, or null when name is null or the
/// module holds no such resource. A resource that does not decode throws
/// Image::Exception.
Image* loadImage(const char* name);

}  // namespace Wispkit
