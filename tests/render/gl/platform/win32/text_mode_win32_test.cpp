// On Windows the desktop's font smoothing decides the text mode: ClearType
// means LCD text in the screen's order, Shift+Ctrl+Alt held while a font is
// built turns it off. The settings are changed for this session only and put
// back afterwards.
#include "gl_harness.h"
#include "vera_face.h"

#include "render/font.h"

#include <windows.h>

using namespace Paintwell;
using namespace PaintwellTest;

namespace {

class Win32TextModeTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        SystemParametersInfoA(SPI_GETFONTSMOOTHING, 0, &savedSmoothing, 0);
        SystemParametersInfoA(SPI_GETFONTSMOOTHINGTYPE, 0, &savedType, 0);
        SystemParametersInfoA(SPI_GETFONTSMOOTHINGORIENTATION, 0, &savedOrientation, 0);
    }
    void TearDown() override {
        setSmoothing(savedSmoothing, savedType, savedOrientation);
        setChord(false);
        GLTest::TearDown();
    }

    static void setSmoothing(BOOL on, UINT type, UINT orientation) {
        SystemParametersInfoA(SPI_SETFONTSMOOTHING, on, nullptr, 0);
        SystemParametersInfoA(SPI_SETFONTSMOOTHINGTYPE, 0, reinterpret_cast<void*>(UINT_PTR(type)), 0);
        SystemParametersInfoA(SPI_SETFONTSMOOTHINGORIENTATION, 0, reinterpret_cast<void*>(UINT_PTR(orientation)), 0);
    }

    static void setChord(bool held) {
        BYTE keys[256];
        GetKeyboardState(keys);
        for (int key : {VK_SHIFT, VK_CONTROL, VK_MENU}) keys[key] = held ? 0x80 : 0;
        SetKeyboardState(keys);
    }

    std::pair<bool, bool> modeAfterBuilding(bool startSubpixel, bool startRgb) {
        setTextMode(startSubpixel, startRgb);
        Paintwell::Font* font = device()->createFontFromMemory(veraFace().data(), veraFace().size(), 8);
        EXPECT_NE(font, nullptr);
        releaseFont(font);
        return {subpixelText(), subpixelRGB()};
    }

    BOOL savedSmoothing = FALSE;
    UINT savedType = 0;
    UINT savedOrientation = 0;
};

}  // namespace

TEST_F(Win32TextModeTest, ClearTypeGivesLcdTextInTheScreensOrder) {
    setSmoothing(TRUE, FE_FONTSMOOTHINGCLEARTYPE, FE_FONTSMOOTHINGORIENTATIONRGB);
    EXPECT_EQ(modeAfterBuilding(false, false), std::make_pair(true, true));
    setSmoothing(TRUE, FE_FONTSMOOTHINGCLEARTYPE, FE_FONTSMOOTHINGORIENTATIONBGR);
    EXPECT_EQ(modeAfterBuilding(false, true), std::make_pair(true, false));
}

TEST_F(Win32TextModeTest, StandardSmoothingOrNoneGivesGreyText) {
    setSmoothing(TRUE, FE_FONTSMOOTHINGSTANDARD, FE_FONTSMOOTHINGORIENTATIONBGR);
    EXPECT_EQ(modeAfterBuilding(true, false), std::make_pair(false, true));
    // With smoothing off the order is left as it was.
    setSmoothing(FALSE, FE_FONTSMOOTHINGCLEARTYPE, FE_FONTSMOOTHINGORIENTATIONRGB);
    EXPECT_EQ(modeAfterBuilding(true, false), std::make_pair(false, false));
    EXPECT_EQ(modeAfterBuilding(true, true), std::make_pair(false, true));
}

TEST_F(Win32TextModeTest, ShiftControlAltHeldForcesGreyText) {
    setSmoothing(TRUE, FE_FONTSMOOTHINGCLEARTYPE, FE_FONTSMOOTHINGORIENTATIONRGB);
    setChord(true);
    EXPECT_FALSE(modeAfterBuilding(true, true).first);
    setChord(false);
    EXPECT_TRUE(modeAfterBuilding(false, true).first);
}
