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

/// For each e: {2^(e/4096), 1 / 2^(e/4096)}, from the two tables above.
struct ExpPair {
    double up;
    double down;
};
extern const ExpPair* const ExpTableProducts;

/// 2^(e/4096) from the two tables; e must not exceed 65535.
inline double expQuantised(std::uint32_t e) { return ExpTableCoarse[e >> 8] * ExpTableFine[e & 255u]; }

}  // namespace ReedDsp
