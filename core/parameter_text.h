// Reading a parameter value back from text a musician types: "12 ms",
// "0.5 Hz", "80 %", "80", "sine", "20 ms". The effect's own display texts
// are the reference, so whatever the display shows reads back as that value.
//
// Threads: the host's UI thread (it formats texts, which may allocate).
#pragma once

#include <cstdint>

namespace PlugCore {

class Plug;

/// True, with the value to store in value, when text reads as a value of
/// parameter index: a number with or without the parameter's label, or one
/// of a choice parameter's texts. Numbers beyond the range are held at its
/// ends. False for anything else.
bool parseParameterText(Plug& plug, std::uint32_t index, const char* text, float& value);

}  // namespace PlugCore
