// A cairo image surface with its drawing context, for the artwork generator.
// Pixels are cairo's ARGB32: native-endian 0xAARRGGBB words with premultiplied
// colour, which is exactly the renderer's pixel word.
//
// Threads: the generator's one thread. Ownership: the canvas owns its surface
// and context; pixel spans stay valid while the canvas lives.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <span>

namespace Artwork {

class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    int width() const { return w; }
    int height() const { return h; }
    cairo_t* cr() const { return context; }
    cairo_surface_t* surface() const { return target; }

    /// Row-major pixel words; flushes cairo first. Call markDirty after writing.
    std::span<std::uint32_t> pixels();
    void markDirty() { cairo_surface_mark_dirty(target); }

    /// Blurs every channel with three box passes of the given radius each way,
    /// close to a Gaussian; integer arithmetic, so the result is the same on
    /// every machine.
    void blur(int radius);

private:
    int w, h;
    cairo_surface_t* target;
    cairo_t* context;
};

/// Paints `layer` onto `cr` at (x, y) with the given opacity, source-over.
void paintLayer(cairo_t* cr, const Canvas& layer, double x, double y, double opacity = 1.0);

/// Sets a source colour from 0xRRGGBB and an opacity.
void setColour(cairo_t* cr, std::uint32_t rgb, double alpha = 1.0);

/// Adds a colour stop from 0xRRGGBB and an opacity.
void addStop(cairo_pattern_t* pattern, double offset, std::uint32_t rgb, double alpha = 1.0);

}  // namespace Artwork
