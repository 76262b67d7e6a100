// The module's two decoded pictures, shared by every editor of the process:
// the panel background and the common-textures sheet. Each is decoded the
// first time a frame asks for it and kept until the module is unloaded,
// when a static destructor frees the pixels (no window-system or GL call is
// involved, so that is safe while the module unloads on either system).
//
// Threads: the editor window's thread. Ownership: the cache owns the images;
// frames make textures from them and own those.
#pragma once

namespace Wispkit {

class Image;

enum class CachedImage { Background, Sheet };

/// The cached image of slot, decoding the PNG resource name on first use.
/// The background slot keeps the first background loaded, whatever name
/// later callers pass. Null when the resource is missing or does not decode;
/// a failed slot is not tried again.
const Image* cachedImage(CachedImage slot, const char* name);

/// Frees both images now and lets the next request decode again.
void freeCachedImages();

}  // namespace Wispkit
