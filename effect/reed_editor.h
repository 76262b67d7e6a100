// The effect's editor panel: its descriptor (480 x 110, nine parameters, the
// orange accent, the "texture" background) and the nine controls it puts on
// the frame.
//
// Threads: the UI thread. Ownership: the controls belong to the frame.
#pragma once

#include "gui/editor_descriptor.h"

namespace Wispkit {
class PlugFrame;
}

namespace ReedEditor {

/// The descriptor the effect fills in its constructor.
Wispkit::EditorDescriptor descriptor();

/// Creates the six knobs, the range menu and the two switches on frame, in
/// the order they are hit-tested and drawn.
void build(Wispkit::PlugFrame* frame);

}  // namespace ReedEditor
