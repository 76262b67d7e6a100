// The knob's two pictures: the body (an 80 × 80 cell: shadow, scale ticks,
// rim and cap) and one pointer frame (a 40 × 40 cell drawn over the body's
// centre). Light falls from the top left; the pointer's travel is 270°,
// through the top, from the body's lowest left tick to its lowest right one.
//
// Threads: the generator's one thread. Ownership: draws into the caller's canvas.
#pragma once

#include "tools/artwork/canvas.h"

namespace Artwork {

constexpr int kBodySize = 80;
constexpr int kPointerSize = 40;
constexpr double kTravelDegrees = 270;

/// The pointer's angle in degrees clockwise from straight up for a value in [0, 1].
double pointerAngle(double value);

/// Paints the body with its top-left corner at (left, top) of `sheet`.
void paintKnobBody(Canvas& sheet, int left, int top);

/// Paints the pointer at `degrees` (clockwise from up) centred in the cell at (left, top).
void paintPointer(Canvas& sheet, int left, int top, double degrees);

}  // namespace Artwork
