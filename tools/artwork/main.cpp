// make-artwork: draws the editor's two texture sheets from code and writes
// them as the module's PNG resources.
//
//   make-artwork FOLDER               writes commonTextures.png and texture.png
//   make-artwork --check FOLDER       compares the files in FOLDER with fresh ones
//   make-artwork --preview FILE [N]   writes a mock-up of the editor, N times magnified
//
// Every sheet is read back through the module's own PNG reader before it is
// written or compared, so a file the editor could not load is never produced.
#include "tools/artwork/png_output.h"
#include "tools/artwork/preview.h"
#include "tools/artwork/sheets.h"
#include "tools/artwork/vera_fonts.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using Artwork::Bytes;
using Artwork::Canvas;

struct SheetFile {
    const char* name;
    Bytes bytes;
};

Bytes encodeChecked(Canvas& canvas, const char* name) {
    auto pixels = canvas.pixels();
    Bytes file = Artwork::encodePng(pixels, canvas.width(), canvas.height());
    const std::string problem = Artwork::verifyPng(file, pixels, canvas.width(), canvas.height());
    if (!problem.empty()) throw std::runtime_error(std::string(name) + ": " + problem);
    return file;
}

bool readFile(const std::string& path, Bytes& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

int check(const std::string& folder, const SheetFile& sheet) {
    const std::string path = folder + "/" + sheet.name;
    Bytes actual;
    if (!readFile(path, actual)) {
        std::fprintf(stderr, "make-artwork: cannot read %s\n", path.c_str());
        return 1;
    }
    if (actual == sheet.bytes) return 0;
    std::size_t at = 0;
    while (at < actual.size() && at < sheet.bytes.size() && actual[at] == sheet.bytes[at]) ++at;
    std::fprintf(stderr, "make-artwork: %s (%zu bytes) differs from the drawn sheet (%zu bytes) at %zu\n", path.c_str(),
                 actual.size(), sheet.bytes.size(), at);
    return 1;
}

int run(int argc, char** argv) {
    const bool checking = argc == 3 && std::strcmp(argv[1], "--check") == 0;
    const bool previewing = (argc == 3 || argc == 4) && std::strcmp(argv[1], "--preview") == 0;
    if (!checking && !previewing && argc != 2) {
        std::fprintf(stderr, "usage: make-artwork FOLDER | --check FOLDER | --preview FILE [ZOOM]\n");
        return 2;
    }
    const Artwork::VeraFonts fonts;
    auto common = Artwork::makeCommonSheet(fonts);
    auto background = Artwork::makeBackground(fonts);

    if (previewing) {
        const int zoom = argc == 4 ? std::atoi(argv[3]) : 1;
        if (zoom < 1 || zoom > 8) {
            std::fprintf(stderr, "make-artwork: zoom must be 1 to 8\n");
            return 2;
        }
        auto preview = Artwork::makePreview(*background, *common, fonts, zoom);
        if (writeFile(argv[2], encodeChecked(*preview, "preview"))) return 0;
        std::fprintf(stderr, "make-artwork: cannot write %s\n", argv[2]);
        return 1;
    }

    const SheetFile sheets[] = {
        {"commonTextures.png", encodeChecked(*common, "commonTextures.png")},
        {"texture.png", encodeChecked(*background, "texture.png")},
    };
    const std::string folder = argv[checking ? 2 : 1];
    int status = 0;
    for (const auto& sheet : sheets) {
        if (checking) {
            status |= check(folder, sheet);
        } else if (!writeFile(folder + "/" + sheet.name, sheet.bytes)) {
            std::fprintf(stderr, "make-artwork: cannot write %s/%s\n", folder.c_str(), sheet.name);
            status = 1;
        }
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make-artwork: %s\n", e.what());
        return 1;
    }
}
