// Controller keys and what each control-change number means to the core.
//
// A key is (status & 0xF0) << 8 | controller number, taken as a signed 16-bit
// value and widened with its sign: control change n has key 0xFFFFB0nn. The
// MIDI channel is not part of it, so a mapping answers on all channels.
// Chunks store the low 16 bits; widening them the same way gives back the
// live key. Pure functions, any thread.
#pragma once

#include <cstdint>

namespace PlugCore {

constexpr std::int32_t controllerKey(int number) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(0xB000 | (number & 0x7F)));
}

enum class ControllerRole {
    Ignored,              // bank select, the LSBs, NRPN selection, reset/local control
    RegisteredParameter,  // data entry and RPN selection: never learnt or mapped
    Sustain,              // 64
    AllSoundOff,          // 120
    AllNotesOff,          // 123 to 127 (the mode messages imply it)
    Learnable,
};

constexpr ControllerRole controllerRole(int n) {
    if (n == 6 || n == 38 || n == 100 || n == 101) return ControllerRole::RegisteredParameter;
    if (n == 0 || (n >= 32 && n <= 63) || (n >= 96 && n <= 99)) return ControllerRole::Ignored;
    if (n == 64) return ControllerRole::Sustain;
    if (n == 120) return ControllerRole::AllSoundOff;
    if (n == 121 || n == 122) return ControllerRole::Ignored;
    if (n >= 123 && n <= 127) return ControllerRole::AllNotesOff;
    if (n < 0 || n > 127) return ControllerRole::Ignored;
    return ControllerRole::Learnable;
}

}  // namespace PlugCore
