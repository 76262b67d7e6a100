// On X11 the desktop's Xft resources decide the text mode: rgb or bgr
// sub-pixel order means LCD text in that order, anything else grey text.
#include "gl_harness.h"
#include "vera_face.h"

#include "render/font.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstring>

using namespace Paintwell;
using namespace PaintwellTest;

namespace {

class X11TextModeTest : public GLTest {
protected:
    void TearDown() override {
        setResources(nullptr);
        GLTest::TearDown();
    }

    void setResources(const char* text) {
        auto* display = static_cast<Display*>(window->native().display);
        Atom property = XInternAtom(display, "RESOURCE_MANAGER", False);
        if (text)
            XChangeProperty(display, DefaultRootWindow(display), property, XA_STRING, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(text), int(std::strlen(text)));
        else
            XDeleteProperty(display, DefaultRootWindow(display), property);
        XSync(display, False);
    }

    std::pair<bool, bool> modeAfterBuilding(bool startSubpixel, bool startRgb) {
        setTextMode(startSubpixel, startRgb);
        Paintwell::Font* font = device()->createFontFromMemory(veraFace().data(), veraFace().size(), 8);
        EXPECT_NE(font, nullptr);
        releaseFont(font);
        return {subpixelText(), subpixelRGB()};
    }
};

}  // namespace

// One test on purpose: the resources live on the shared test display's root
// window, so two test processes changing them at once would race.
TEST_F(X11TextModeTest, XftResourcesDecideBetweenLcdAndGreyText) {
    // An rgb or bgr sub-pixel order means LCD text in that order.
    setResources("Xft.antialias:\t1\nXft.rgba:\trgb\n");
    EXPECT_EQ(modeAfterBuilding(false, false), std::make_pair(true, true));
    setResources("Xft.dpi:\t96\nXft.rgba:\tbgr\n");
    EXPECT_EQ(modeAfterBuilding(false, true), std::make_pair(true, false));

    // No order, antialiasing off, a vertical order or no resources at all
    // mean grey text.
    setResources("Xft.antialias:\t1\nXft.rgba:\tnone\n");
    EXPECT_EQ(modeAfterBuilding(true, false), std::make_pair(false, true));
    setResources("Xft.antialias:\t0\nXft.rgba:\trgb\n");
    EXPECT_EQ(modeAfterBuilding(true, false), std::make_pair(false, true));
    setResources("Xft.antialias:\t1\nXft.rgba:\tvrgb\n");
    EXPECT_FALSE(modeAfterBuilding(true, true).first);
    setResources(nullptr);
    EXPECT_EQ(modeAfterBuilding(true, false), std::make_pair(false, true));
}
