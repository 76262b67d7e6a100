#include "tools/artwork/canvas.h"

#include <stdexcept>
#include <vector>

namespace Artwork {

Canvas::Canvas(int width, int height)
    : w(width),
      h(height),
      target(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      context(cairo_create(target)) {
    if (cairo_surface_status(target) != CAIRO_STATUS_SUCCESS || cairo_status(context) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cairo could not make a surface");
    // Every canvas starts transparent; cairo guarantees it, the stride must be plain.
    if (cairo_image_surface_get_stride(target) != width * 4) throw std::runtime_error("unexpected cairo stride");
}

Canvas::~Canvas() {
    cairo_destroy(context);
    cairo_surface_destroy(target);
}

std::span<std::uint32_t> Canvas::pixels() {
    cairo_surface_flush(target);
    auto* data = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(target));
    return {data, static_cast<std::size_t>(w) * h};
}

namespace {

// One box pass along a line of `count` words `step` apart, each channel on its own.
void boxLine(std::uint32_t* line, int count, int step, int radius, std::vector<std::uint32_t>& scratch) {
    scratch.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) scratch[i] = line[i * step];
    const int span = 2 * radius + 1;
    for (int shift = 0; shift < 32; shift += 8) {
        int sum = 0;
        for (int i = -radius; i <= radius; ++i)
            if (i >= 0 && i < count) sum += (scratch[i] >> shift) & 255;
        for (int i = 0; i < count; ++i) {
            const int value = (sum + span / 2) / span;
            line[i * step] = (line[i * step] & ~(255u << shift)) | (static_cast<std::uint32_t>(value) << shift);
            const int leaving = i - radius, entering = i + radius + 1;
            if (leaving >= 0) sum -= (scratch[leaving] >> shift) & 255;
            if (entering < count) sum += (scratch[entering] >> shift) & 255;
        }
    }
}

}  // namespace

void Canvas::blur(int radius) {
    if (radius <= 0) return;
    auto words = pixels();
    std::vector<std::uint32_t> scratch;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y) boxLine(words.data() + static_cast<std::size_t>(y) * w, w, 1, radius, scratch);
        for (int x = 0; x < w; ++x) boxLine(words.data() + x, h, w, radius, scratch);
    }
    markDirty();
}

void paintLayer(cairo_t* cr, const Canvas& layer, double x, double y, double opacity) {
    cairo_save(cr);
    cairo_set_source_surface(cr, layer.surface(), x, y);
    cairo_paint_with_alpha(cr, opacity);
    cairo_restore(cr);
}

void setColour(cairo_t* cr, std::uint32_t rgb, double alpha) {
    cairo_set_source_rgba(cr, ((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0, (rgb & 255) / 255.0, alpha);
}

void addStop(cairo_pattern_t* pattern, double offset, std::uint32_t rgb, double alpha) {
    cairo_pattern_add_color_stop_rgba(pattern, offset, ((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0,
                                      (rgb & 255) / 255.0, alpha);
}

}  // namespace Artwork
