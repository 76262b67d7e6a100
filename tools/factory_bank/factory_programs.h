// The sixteen factory programs of the effect: a name and, per parameter in
// index order, its grid step (value = step / 64000). Constant data.
#pragma once

#include <cstdint>

namespace FactoryBank {

constexpr int kPrograms = 16;
constexpr int kParameters = 9;

struct FactoryProgram {
    const char* name;
    std::int32_t steps[kParameters];  // delay, rate, depth, spread, phase, wet, shape, invert, range
};

extern const FactoryProgram kFactoryPrograms[kPrograms];

}  // namespace FactoryBank
