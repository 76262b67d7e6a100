// The editor's background: a dark green-black panel with a fine grain, a
// lighter rounded plate behind the row of knobs, and the effect's name set
// vertically along the left edge. Opaque throughout.
//
// Threads: the generator's one thread. Ownership: draws into the caller's canvas.
#pragma once

#include "tools/artwork/canvas.h"
#include "tools/artwork/vera_fonts.h"

namespace Artwork {

constexpr int kPanelWidth = 480;
constexpr int kPanelHeight = 110;

/// Paints the whole background over a canvas of kPanelWidth × kPanelHeight.
void paintPanel(Canvas& panel, const VeraFonts& fonts);

}  // namespace Artwork
