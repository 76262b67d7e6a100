#include "tools/artwork/knob_art.h"

#include <cmath>

namespace Artwork {

namespace {

constexpr double kCentre = kBodySize / 2.0;
constexpr double kRimRadius = 22.5;
constexpr double kCapRadius = 19.0;
constexpr int kTicks = 11;

// A point at `radius` from the centre in the direction `degrees` clockwise from up.
void polar(double degrees, double radius, double& x, double& y) {
    const double a = degrees * M_PI / 180;
    x = std::sin(a) * radius;
    y = -std::cos(a) * radius;
}

void disc(cairo_t* cr, double x, double y, double radius) {
    cairo_new_path(cr);
    cairo_arc(cr, x, y, radius, 0, 2 * M_PI);
}

// A gradient along the knob's diagonal, from the lit top left to the far
// bottom right of the centred disc of the given radius.
cairo_pattern_t* diagonal(double radius) {
    return cairo_pattern_create_linear(kCentre - radius, kCentre - radius, kCentre + radius, kCentre + radius);
}

// Fills the centred disc of the given radius with pattern, then releases it.
void fillDisc(cairo_t* cr, double radius, cairo_pattern_t* pattern) {
    disc(cr, kCentre, kCentre, radius);
    cairo_set_source(cr, pattern);
    cairo_fill(cr);
    cairo_pattern_destroy(pattern);
}

// Strokes the centred circle of the given radius with pattern, then releases it.
void strokeCircle(cairo_t* cr, double radius, double width, cairo_pattern_t* pattern) {
    disc(cr, kCentre, kCentre, radius);
    cairo_set_line_width(cr, width);
    cairo_set_source(cr, pattern);
    cairo_stroke(cr);
    cairo_pattern_destroy(pattern);
}

// The body's shadow falls down and to the right, soft enough to read as depth.
void paintShadow(cairo_t* cr) {
    Canvas shadow(kBodySize, kBodySize);
    disc(shadow.cr(), kCentre + 1.2, kCentre + 2.2, kRimRadius + 0.5);
    setColour(shadow.cr(), 0x000000, 0.75);
    cairo_fill(shadow.cr());
    shadow.blur(2);
    paintLayer(cr, shadow, 0, 0);
}

// The scale: a tick every tenth of the travel, the two ends and the middle longer.
void paintTicks(cairo_t* cr) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < kTicks; ++i) {
        const double degrees = pointerAngle(static_cast<double>(i) / (kTicks - 1));
        const bool major = i == 0 || i == kTicks - 1 || i == kTicks / 2;
        double x0, y0, x1, y1;
        polar(degrees, kRimRadius + 2.6, x0, y0);
        polar(degrees, kRimRadius + (major ? 5.6 : 4.4), x1, y1);
        cairo_set_line_width(cr, major ? 1.3 : 1.0);
        cairo_move_to(cr, kCentre + x0, kCentre + y0);
        cairo_line_to(cr, kCentre + x1, kCentre + y1);
        setColour(cr, 0xA9BDAF, major ? 0.85 : 0.55);
        cairo_stroke(cr);
    }
}

// A brushed metal ring: bright where the light hits it, dark on the far side.
void paintRim(cairo_t* cr) {
    cairo_pattern_t* ring = diagonal(kRimRadius);
    addStop(ring, 0.0, 0x8A958E);
    addStop(ring, 0.45, 0x3A423D);
    addStop(ring, 1.0, 0x101412);
    fillDisc(cr, kRimRadius, ring);

    // The outer edge catches a thin dark line so the knob stands off the panel.
    disc(cr, kCentre, kCentre, kRimRadius - 0.4);
    cairo_set_line_width(cr, 0.8);
    setColour(cr, 0x050706, 0.6);
    cairo_stroke(cr);

    // A glint along the lit edge.
    cairo_pattern_t* glint = cairo_pattern_create_linear(kCentre - kRimRadius, kCentre - kRimRadius, kCentre, kCentre);
    addStop(glint, 0.0, 0xFFFFFF, 0.55);
    addStop(glint, 1.0, 0xFFFFFF, 0.0);
    strokeCircle(cr, kRimRadius - 1.2, 0.9, glint);
}

// The cap: a shallow dome, lit from the top left, sunk a little into the rim.
void paintCap(cairo_t* cr) {
    cairo_pattern_t* face = diagonal(kCapRadius);
    addStop(face, 0.0, 0x3B443F);
    addStop(face, 1.0, 0x161A18);
    fillDisc(cr, kCapRadius, face);

    cairo_pattern_t* sheen = cairo_pattern_create_radial(kCentre - 7, kCentre - 9, 0, kCentre - 7, kCentre - 9, 20);
    addStop(sheen, 0.0, 0xFFFFFF, 0.13);
    addStop(sheen, 1.0, 0xFFFFFF, 0.0);
    fillDisc(cr, kCapRadius, sheen);

    // Sunk into the rim: shadow on the upper left edge, light on the lower right.
    cairo_pattern_t* edge = diagonal(kCapRadius);
    addStop(edge, 0.0, 0x000000, 0.7);
    addStop(edge, 0.5, 0x000000, 0.25);
    addStop(edge, 1.0, 0xC8D2CB, 0.35);
    strokeCircle(cr, kCapRadius, 1.0, edge);
}

}  // namespace

double pointerAngle(double value) { return -kTravelDegrees / 2 + kTravelDegrees * value; }

void paintKnobBody(Canvas& sheet, int left, int top) {
    Canvas body(kBodySize, kBodySize);
    cairo_t* cr = body.cr();
    paintShadow(cr);
    paintTicks(cr);
    paintRim(cr);
    paintCap(cr);
    paintLayer(sheet.cr(), body, left, top);
}

void paintPointer(Canvas& sheet, int left, int top, double degrees) {
    constexpr double c = kPointerSize / 2.0;
    double x0, y0, x1, y1;
    polar(degrees, 6.5, x0, y0);
    polar(degrees, 16.0, x1, y1);

    // The cell is cleared and drawn on its own so blurring never reaches a neighbour.
    Canvas shadow(kPointerSize, kPointerSize);
    cairo_set_line_cap(shadow.cr(), CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(shadow.cr(), 3.0);
    cairo_move_to(shadow.cr(), c + x0 + 0.8, c + y0 + 1.3);
    cairo_line_to(shadow.cr(), c + x1 + 0.8, c + y1 + 1.3);
    setColour(shadow.cr(), 0x000000, 0.8);
    cairo_stroke(shadow.cr());
    shadow.blur(1);

    Canvas pointer(kPointerSize, kPointerSize);
    cairo_t* cr = pointer.cr();
    paintLayer(cr, shadow, 0, 0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 2.4);
    cairo_move_to(cr, c + x0, c + y0);
    cairo_line_to(cr, c + x1, c + y1);
    setColour(cr, 0xF4F4F0);
    cairo_stroke(cr);
    paintLayer(sheet.cr(), pointer, left, top);
}

}  // namespace Artwork
