#include "effect/exp_tables.h"

#include <cmath>

#include "effect/fp_guard.h"

namespace ReedDsp {

namespace {

[[gnu::noinline]] void fillProducts(const double* coarse, const double* fine, ExpPair* products) {
    for (std::uint32_t e = 0; e < 65536; ++e) {
        const double f = coarse[e >> 8] * fine[e & 255u];
        products[e] = ExpPair{f, 1.0 / f};
    }
}

struct ExpTables {
    double coarse[256];
    double fine[256];
    ExpPair products[65536];

    ExpTables() {
        for (int i = 0; i < 256; ++i) {
            coarse[i] = std::pow(2.0, i / 16.0);
            fine[i] = std::pow(2.0, i / 4096.0);
        }
        // In the audio routine's rounding mode, so that each entry is what the
        // routine would compute from the two tables itself.
        const FpGuard audioMode;
        fillProducts(coarse, fine, products);
    }
};

const ExpTables tables;

}  // namespace

const double* const ExpTableCoarse = tables.coarse;
const double* const ExpTableFine = tables.fine;
const ExpPair* const ExpTableProducts = tables.products;

}  // namespace ReedDsp
