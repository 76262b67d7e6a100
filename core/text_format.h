// Number formatting that reads the same in every build of the module. C
// runtimes disagree on how printf rounds an exact binary tie such as 6.25
// to one decimal; this formatter always rounds half to even on the exact
// binary value, as glibc does.
#pragma once

#include <cstddef>

namespace PlugCore {

/// Writes value with the given number of decimals (0 to 3) into text, which
/// holds size bytes, like snprintf's "%.*f". Returns the length written.
std::size_t formatFixed(char* text, std::size_t size, double value, int decimals);

}  // namespace PlugCore
