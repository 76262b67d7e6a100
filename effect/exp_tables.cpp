#include "effect/exp_tables.h"

#include <cmath>

#include "effect/fp_guard.h"

namespace ReedDsp {

namespace {

[[gnu::noinline]] void fillPowers(const double* coarse, const double* fine, double* powers) {
    for (std::uint32_t e = 0; e < 65536; ++e) {
        const double f = coarse[e >> 8] * fine[e & 255u];
        powers[2 * e] = f;
        powers[2 * e + 1] = 1.0 / f;
    }
}

struct ExpTables {
    double coarse[256];
    double fine[256];
    double powers[kExpTableEntries];

    ExpTables() {
        for (int i = 0; i < 256; ++i) {
            coarse[i] = std::pow(2.0, i / 16.0);
            fine[i] = std::pow(2.0, i / 4096.0);
        }
        // In the audio routine's rounding mode, so that each entry is what the
        // routine would compute from the two tables itself.
        const FpGuard audioMode;
        fillPowers(coarse, fine, powers);
    }
};

const ExpTables tables;

}  // namespace

const double* const ExpTableCoarse = tables.coarse;
const double* const ExpTableFine = tables.fine;
const double* const ExpTablePowers = tables.powers;

}  // namespace ReedDsp
