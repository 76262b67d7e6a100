// PNG files of the artwork: 8-bit RGBA, not interlaced, nothing but IHDR,
// IDAT and IEND, compressed with fixed settings so the same pixels always give
// the same bytes. Pixel words are stored as they are: premultiplied words stay
// premultiplied in the file (the renderer blends them that way).
//
// Threads: any. Ownership: the caller owns the returned bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace Artwork {

using Bytes = std::vector<unsigned char>;

/// The PNG file of `pixels` (0xAARRGGBB words, rows top to bottom).
Bytes encodePng(std::span<const std::uint32_t> pixels, int width, int height);

/// Decodes `file` with the module's own PNG reader and returns an empty
/// string if it gives back exactly `pixels`, else what went wrong.
std::string verifyPng(const Bytes& file, std::span<const std::uint32_t> pixels, int width, int height);

}  // namespace Artwork
