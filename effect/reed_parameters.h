// The effect's nine parameters: indices, names, labels, defaults and display
// texts. Pure functions of the values, so any thread may call them.
#pragma once

#include <cstdint>

namespace ReedParams {

enum Index : std::uint32_t { kDelay, kRate, kDepth, kSpread, kPhase, kWet, kShape, kInvert, kRange, kCount };

struct Definition {
    std::uint32_t index;
    const char* name;
    const char* label;
    float defaultValue;
};

/// The definitions in registration order.
extern const Definition kDefinitions[kCount];

/// How many evenly spread choices the parameter takes: 2 for the shape and
/// invert switches, 4 for the range menu, 0 for the continuous knobs.
std::uint32_t choices(std::uint32_t index);

/// The choice a stored value means, as the processor and the display text
/// read it: above 0.5 for the switches, rangeIndex for the range; 0 for the
/// continuous parameters.
std::uint32_t choiceOf(std::uint32_t index, float value);

/// r = trunc(min(4x, 3)) in single precision: 0 below 0.25 up to 3 from 0.75.
std::uint32_t rangeIndex(float range);

/// Writes the display text of value for parameter index (no label); range is
/// the current value of the range parameter, which the delay text follows.
/// Leaves text untouched for an index of kCount or more.
void format(std::uint32_t index, char* text, float value, float range);

}  // namespace ReedParams
