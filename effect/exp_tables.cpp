#include "effect/exp_tables.h"

#include <cmath>

namespace ReedDsp {

namespace {

struct ExpTables {
    double coarse[256];
    double fine[256];

    ExpTables() {
        for (int i = 0; i < 256; ++i) {
            coarse[i] = std::pow(2.0, i / 16.0);
            fine[i] = std::pow(2.0, i / 4096.0);
        }
    }
};

const ExpTables tables;

}  // namespace

const double* const ExpTableCoarse = tables.coarse;
const double* const ExpTableFine = tables.fine;

}  // namespace ReedDsp
