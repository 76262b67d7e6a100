#include "tools/artwork/sheets.h"

#include "tools/artwork/knob_art.h"
#include "tools/artwork/logo_art.h"
#include "tools/artwork/panel_art.h"

namespace Artwork {

std::unique_ptr<Canvas> makeCommonSheet(const VeraFonts& fonts) {
    auto sheet = std::make_unique<Canvas>(kSheetWidth, kSheetHeight);
    for (int k = 0; k < kPointerFrames; ++k)
        paintPointer(*sheet, pointerFrameLeft(k), pointerFrameTop(k),
                     pointerAngle(static_cast<double>(k) / (kPointerFrames - 1)));
    paintKnobBody(*sheet, kBodyLeft, kBodyTop);
    paintLogo(*sheet, kLogoLeft, kLogoTop, fonts);
    return sheet;
}

std::unique_ptr<Canvas> makeBackground(const VeraFonts& fonts) {
    auto panel = std::make_unique<Canvas>(kPanelWidth, kPanelHeight);
    paintPanel(*panel, fonts);
    return panel;
}

}  // namespace Artwork
