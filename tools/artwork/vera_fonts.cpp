#include "tools/artwork/vera_fonts.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <stdexcept>
#include <string>

namespace Artwork {

namespace {

constexpr const char* kFolder = "/usr/share/fonts/truetype/ttf-bitstream-vera/";

cairo_user_data_key_t faceKey;

void doneFace(void* face) { FT_Done_Face(static_cast<FT_Face>(face)); }

cairo_font_face_t* loadFace(FT_Library library, const char* file) {
    const std::string path = std::string(kFolder) + file;
    FT_Face face = nullptr;
    if (FT_New_Face(library, path.c_str(), 0, &face) != 0)
        throw std::runtime_error("cannot load " + path + " (package ttf-bitstream-vera)");
    cairo_font_face_t* cairoFace = cairo_ft_font_face_create_for_ft_face(face, 0);
    // cairo may keep the face in its caches after we let go: it frees the
    // FreeType face itself when the last reference goes.
    if (cairo_font_face_set_user_data(cairoFace, &faceKey, face, doneFace) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(cairoFace);
        FT_Done_Face(face);
        throw std::runtime_error("cairo refused the face " + path);
    }
    return cairoFace;
}

}  // namespace

VeraFonts::VeraFonts() {
    FT_Library ft = nullptr;
    if (FT_Init_FreeType(&ft) != 0) throw std::runtime_error("FreeType did not start");
    library = ft;
    regular = loadFace(ft, "Vera.ttf");
    bold = loadFace(ft, "VeraBd.ttf");
}

VeraFonts::~VeraFonts() {
    cairo_font_face_destroy(regular);
    cairo_font_face_destroy(bold);
    // Faces may outlive this object inside cairo's caches, so the library
    // stays until the process ends.
}

void VeraFonts::use(cairo_t* cr, bool useBold, double pixels) const {
    cairo_set_font_face(cr, useBold ? bold : regular);
    cairo_set_font_size(cr, pixels);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_subpixel_order(options, CAIRO_SUBPIXEL_ORDER_DEFAULT);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

}  // namespace Artwork
