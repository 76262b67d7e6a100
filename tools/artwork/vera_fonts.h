// The Vera faces for the artwork's lettering, loaded by FreeType from fixed
// files rather than found through the font configuration, so the sheets come
// out byte for byte the same on every build machine with the same packages.
//
// Threads: the generator's one thread. Ownership: VeraFonts owns the FreeType
// library; cairo holds the faces and frees each with its font face.
#pragma once

#include <cairo.h>

namespace Artwork {

class VeraFonts {
public:
    VeraFonts();  // throws std::runtime_error when a face file is missing
    ~VeraFonts();
    VeraFonts(const VeraFonts&) = delete;
    VeraFonts& operator=(const VeraFonts&) = delete;

    /// Selects the regular or bold face at `pixels` per em on `cr`, with
    /// greyscale antialiasing, slight hinting and unhinted metrics.
    void use(cairo_t* cr, bool bold, double pixels) const;

private:
    void* library = nullptr;
    cairo_font_face_t* regular = nullptr;
    cairo_font_face_t* bold = nullptr;
};

}  // namespace Artwork
