// The one-line caption of menu buttons and switches: "name: value" with the
// name in the accent colour, "..learning.." while the control's parameter
// is learning, or the name alone in the large font while its menu is open.
//
// Threads: the editor window's thread, while the device renders.
#pragma once

namespace Paintwell {
class Context;
}

namespace Wispkit {

class Control;
class IPlugData;

void drawCaptionLine(Paintwell::Context* context, Control* control, IPlugData* data, const char* name, unsigned index,
                     bool hover);

}  // namespace Wispkit
