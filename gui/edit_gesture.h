// Value helpers shared by the parameter controls: the clamp into 0 to 1, the
// value of one of a few evenly spread choices and a whole host edit gesture
// around one change.
//
// Threads: the editor window's thread.
#pragma once

#include "gui/plug_data.h"

namespace Wispkit {

/// v limited to 0 to 1; not-a-number counts as 0.
inline float clampValue(float v) {
    if (v > 1.0f) return 1.0f;
    if (!(v >= 0.0f)) return 0.0f;
    return v;
}

/// The value of choice out of count spread evenly over 0 to 1; with a single
/// choice there is nothing to spread, so it stands at 0.
inline float choiceValue(unsigned choice, unsigned count) {
    return count > 1 ? static_cast<float>(choice) / static_cast<float>(count - 1) : 0.0f;
}

/// begin edit, one setValue, end edit.
inline void valueGesture(IPlugData* data, unsigned index, float value) {
    data->setEditing(index, true);
    data->setValue(index, value);
    data->setEditing(index, false);
}

/// begin edit, the reset to the default, end edit.
inline void resetGesture(IPlugData* data, unsigned index) {
    data->setEditing(index, true);
    data->resetValue(index);
    data->setEditing(index, false);
}

}  // namespace Wispkit
