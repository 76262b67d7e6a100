// Screenshots of the module's editor as a host shows it, in three states:
// idle, while "depth" is dragged and while "rate" waits for a controller
// (MIDI Learn chosen from its context menu). The module is loaded through its
// entry point and driven only by real input; the pixels come from the screen.
//
//   editor_screenshots DIR SYSTEM                        write DIR/editor-STATE-SYSTEM.png
//   editor_screenshots DIR SYSTEM --compare-with REFDIR REFSYSTEM
//                                                        ... then compare with REFDIR's
//
// The comparison allows two channel steps of difference, as the renderer's
// test card does (drivers round blends differently). Exit status 0 when all
// three were written (and match), 1 otherwise.
#include "screenshot_host.h"

#include "png_writer.h"
#include "test_host.h"
#include "render/png/png_decoder.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace EditorShots;
using HostTest::Effect;

namespace {

using Pixels = std::vector<std::uint32_t>;

PngTest::Bytes encode(const Pixels& pixels, const std::string& textMode) {
    PngTest::SampleImage image;
    image.width = kWidth;
    image.height = kHeight;
    image.colourType = 2;
    image.depth = 8;
    for (std::uint32_t p : pixels) {
        image.samples.push_back((p >> 16) & 0xFF);
        image.samples.push_back((p >> 8) & 0xFF);
        image.samples.push_back(p & 0xFF);
    }
    PngTest::Bytes raw = PngTest::scanlines(image, [](unsigned) { return 0u; });
    std::string mode = std::string("text-mode") + '\0' + textMode;
    PngTest::Chunk text{"tEXt", PngTest::Bytes(mode.begin(), mode.end())};
    return PngTest::assemblePng(image, PngTest::zlibWrap(PngTest::deflateStored(raw), raw), 0, {text});
}

// The text mode a screenshot recorded in its tEXt chunk.
std::string textModeOf(const PngTest::Bytes& png) {
    const std::string key = std::string("tEXttext-mode") + '\0';
    const std::string all(png.begin(), png.end());
    const std::size_t at = all.find(key);
    if (at < 4 || at == std::string::npos) return {};
    std::size_t length = 0;  // the chunk's data: the key and the value
    for (std::size_t i = at - 4; i < at; ++i) length = length << 8 | png[i];
    const std::size_t keyLength = key.size() - 4;
    return length < keyLength ? std::string() : all.substr(at + key.size(), length - keyLength);
}

bool compare(const std::string& state, const PngTest::Bytes& ours, const std::string& referencePath) {
    PngTest::Bytes theirs;
    if (!PngTest::readFile(referencePath, theirs)) {
        std::fprintf(stderr, "no reference at %s: render it first (the native tests do)\n", referencePath.c_str());
        return false;
    }
    std::vector<unsigned char> a, b;
    unsigned wa = 0, ha = 0, wb = 0, hb = 0;
    if (Paintwell::decodePNG(a, wa, ha, ours.data(), ours.size(), true) ||
        Paintwell::decodePNG(b, wb, hb, theirs.data(), theirs.size(), true) || wa != wb || ha != hb) {
        std::fprintf(stderr, "%s: the screenshots do not decode to the same size\n", state.c_str());
        return false;
    }
    if (textModeOf(ours) != textModeOf(theirs))
        std::fprintf(stderr, "%s: the text modes differ (%s here, %s there): set both desktops alike\n", state.c_str(),
                     textModeOf(ours).c_str(), textModeOf(theirs).c_str());
    int worst = 0;
    unsigned differing = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (i % 4 == 3) continue;
        const int d = std::abs(int(a[i]) - int(b[i]));
        worst = std::max(worst, d);
        differing += d > 2;
    }
    std::printf("%s: largest channel difference %d, %u channel values beyond 2\n", state.c_str(), worst, differing);
    return differing == 0;
}

// A frame that is all one colour means the readback saw no paint.
bool painted(const Pixels& pixels) {
    return !pixels.empty() && std::any_of(pixels.begin(), pixels.end(), [&](auto p) { return p != pixels[0]; });
}

// Where the pointer rests when it should hover over nothing.
constexpr int kRestX = 4, kRestY = 4;

struct Shot {
    const char* state;
    Pixels pixels;
};

bool takeShots(ScreenshotHost& host, std::vector<Shot>& shots) {
    Effect effect;
    effect.start();
    if (effect.dispatch(vst::effEditOpen, 0, 0, host.parent()) != 1) return false;
    const Pump idle = [&effect] { effect.dispatch(vst::effEditIdle); };
    host.moveTo(idle, kRestX, kRestY);
    host.settle(idle, 400);
    shots.push_back({"idle", host.grab()});

    host.moveTo(idle, 206, 60);  // the "depth" knob, dragged 50 pixels up
    host.leftButton(idle, true);
    host.moveTo(idle, 206, 35);
    host.moveTo(idle, 206, 10);
    host.settle(idle, 200);
    shots.push_back({"dragging", host.grab()});
    host.leftButton(idle, false);
    host.moveTo(idle, kRestX, kRestY);

    const bool learning = host.chooseLearn(idle, 132, 60);  // the "rate" knob
    host.moveTo(idle, kRestX, kRestY);
    host.settle(idle, 300);
    shots.push_back({"learning", host.grab()});
    effect.dispatch(vst::effEditClose);
    host.settle(idle, 50);
    if (!learning) std::fprintf(stderr, "the context menu of \"rate\" did not show\n");
    return learning;
}

}  // namespace

int main(int argc, char** argv) {
    const bool comparing = argc == 6 && std::strcmp(argv[3], "--compare-with") == 0;
    if (argc != 3 && !comparing) {
        std::fprintf(stderr, "usage: %s DIR SYSTEM [--compare-with REFDIR REFSYSTEM]\n", argv[0]);
        return 1;
    }
    ScreenshotHost host;
    if (!host.problem().empty()) {
        std::fprintf(stderr, "no host window: %s\n", host.problem().c_str());
        return 1;
    }
    std::vector<Shot> shots;
    bool ok = takeShots(host, shots);
    for (const Shot& shot : shots) {
        const std::string name = std::string("/editor-") + shot.state + "-";
        const std::string path = argv[1] + name + argv[2] + ".png";
        if (!painted(shot.pixels)) {
            std::fprintf(stderr, "%s: nothing painted was read back\n", shot.state);
            ok = false;
            continue;
        }
        const PngTest::Bytes png = encode(shot.pixels, host.textMode());
        if (!PngTest::writeFile(path, png)) {
            std::fprintf(stderr, "could not write %s\n", path.c_str());
            ok = false;
            continue;
        }
        std::printf("%s (text %s)\n", path.c_str(), host.textMode().c_str());
        if (comparing) ok = compare(shot.state, png, argv[4] + name + argv[5] + ".png") && ok;
    }
    return ok ? 0 : 1;
}
