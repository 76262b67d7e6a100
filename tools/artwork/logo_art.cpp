#include "tools/artwork/logo_art.h"

namespace Artwork {

namespace {

constexpr const char* kMaker = "Corvelight";
// The patch sits in the editor's bottom-right corner under the last knob's
// value text, so the lettering keeps to the patch's lower two thirds.
constexpr double kRightMargin = 7;
constexpr double kBaseline = 23;
constexpr double kPixels = 13;

void showMaker(cairo_t* cr, const VeraFonts& fonts, double dx, double dy) {
    fonts.use(cr, true, kPixels);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, kMaker, &extents);
    cairo_move_to(cr, kLogoWidth - kRightMargin - extents.x_advance + dx, kBaseline + dy);
    cairo_show_text(cr, kMaker);
}

}  // namespace

void paintLogo(Canvas& sheet, int left, int top, const VeraFonts& fonts) {
    Canvas shadow(kLogoWidth, kLogoHeight);
    setColour(shadow.cr(), 0x000000, 0.9);
    showMaker(shadow.cr(), fonts, 0.7, 1.2);
    shadow.blur(1);

    Canvas logo(kLogoWidth, kLogoHeight);
    paintLayer(logo.cr(), shadow, 0, 0);
    setColour(logo.cr(), 0xFFFFFF);
    showMaker(logo.cr(), fonts, 0, 0);
    paintLayer(sheet.cr(), logo, left, top);
}

}  // namespace Artwork
