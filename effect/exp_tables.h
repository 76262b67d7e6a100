// The two tables behind the clock's exponential: 2^(e/4096) for an integer
// e in 0 ... 65535 is ExpTableCoarse[e / 256] * ExpTableFine[e % 256].
// The clock reads the product, and its reciprocal, from a third table built
// from those two, so that neither the multiplication nor the division sits
// on its path; the values are those of the two-table computation exactly.
//
// Threads: filled once while the module loads, before any effect exists;
// read-only afterwards, so any thread may read them.
#pragma once

#include <cstdint>

namespace ReedDsp {

extern const double* const ExpTableCoarse;  // 2^(i/16), i = 0 ... 255
extern const double* const ExpTableFine;    // 2^(i/4096), i = 0 ... 255

/// Entry 2e: 2^(e/4096); entry 2e + 1: 1 / 2^(e/4096), from the two tables
/// above. One index names both the exponent and its sign, so a clock can tell
/// whether its step changed by comparing two integers.
extern const double* const ExpTablePowers;
constexpr std::uint32_t kExpTableEntries = 2 * 65536;

/// 2^(e/4096) from the two tables; e must not exceed 65535.
inline double expQuantised(std::uint32_t e) { return ExpTableCoarse[e >> 8] * ExpTableFine[e & 255u]; }

}  // namespace ReedDsp
