// The two texture sheets the editor draws from, and where things lie on the
// common one: the 96 pointer frames (8 to a row from the top-left corner), the
// knob body and the logo patch.
//
// Threads: the generator's one thread. Ownership: the caller owns the canvases.
#pragma once

#include "tools/artwork/canvas.h"
#include "tools/artwork/vera_fonts.h"

#include <memory>

namespace Artwork {

constexpr int kSheetWidth = 600;
constexpr int kSheetHeight = 480;
constexpr int kPointerFrames = 96;
constexpr int kPointerColumns = 8;
constexpr int kBodyLeft = 320, kBodyTop = 0;
constexpr int kLogoLeft = 422, kLogoTop = 50;

/// Top-left corner of pointer frame `k` on the common sheet.
inline int pointerFrameLeft(int k) { return 40 * (k % kPointerColumns); }
inline int pointerFrameTop(int k) { return 40 * (k / kPointerColumns); }

/// The common sheet, premultiplied, transparent where nothing is drawn.
std::unique_ptr<Canvas> makeCommonSheet(const VeraFonts& fonts);

/// The editor's opaque background.
std::unique_ptr<Canvas> makeBackground(const VeraFonts& fonts);

}  // namespace Artwork
