// The maker's logo patch: "Corvelight" in white over a soft black shadow,
// premultiplied, so the frame's tint colours the letters and leaves the
// shadow dark.
//
// Threads: the generator's one thread. Ownership: draws into the caller's canvas.
#pragma once

#include "tools/artwork/canvas.h"
#include "tools/artwork/vera_fonts.h"

namespace Artwork {

constexpr int kLogoWidth = 90;
constexpr int kLogoHeight = 30;

/// Paints the logo into the patch whose top-left corner is (left, top) of `sheet`.
void paintLogo(Canvas& sheet, int left, int top, const VeraFonts& fonts);

}  // namespace Artwork
