// A mock-up of the open editor for judging the artwork by eye: the background,
// six knobs at sample values, their captions and values, the three one-line
// controls and the tinted logo, blended the way the renderer blends them.
// Text is set by cairo at the editor's 8-point size, so it only approximates
// the renderer's glyph atlas.
//
// Threads: the generator's one thread. Ownership: the caller owns the canvas.
#pragma once

#include "tools/artwork/canvas.h"
#include "tools/artwork/vera_fonts.h"

#include <memory>

namespace Artwork {

/// The editor as it would look, magnified `zoom` times (pixels repeated).
std::unique_ptr<Canvas> makePreview(const Canvas& background, Canvas& sheet, const VeraFonts& fonts, int zoom);

}  // namespace Artwork
