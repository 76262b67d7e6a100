#include "effect/interpolation_table.h"

#include <cmath>
#include <type_traits>
#include <xmmintrin.h>

namespace ReedDsp {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr int kPrototypeLength = 65536;  // 16 taps x 4096 phases
constexpr int kSpectrumLength = 262144;  // the kernel's period
constexpr int kCentre = 32768;

// The symmetric four-term window over 65536 points, zero at both ends.
// Its cosines at 2x and 3x come from the one at x.
double window(int i) {
    if (i == 0 || i == kPrototypeLength - 1) return 0.0;
    const double c = std::cos(2.0 * kPi * i / (kPrototypeLength - 1));
    const double c2 = 2.0 * c * c - 1.0;
    const double c3 = (4.0 * c * c - 3.0) * c;
    return 0.355768 - 0.487396 * c + 0.144232 * c2 - 0.012604 * c3;
}

// 1 + 2 sum(k = 1 ... 31) cos(2 pi k n / 262144), divided by 262144: the
// 63 unit bins of the pass band. The sum of cosines is the Dirichlet kernel
// sin(63 x) / sin(x) with x = pi n / 262144, which saves the transform.
double kernel(int n) {
    if (n == 0) return 63.0 / kSpectrumLength;
    const double x = kPi / kSpectrumLength;
    return std::sin(63.0 * n * x) / (kSpectrumLength * std::sin(n * x));
}

// The default floating-point mode (round to nearest, no flushing) for the
// build, whatever mode the thread that happens to build it runs in.
class DefaultFpMode {
public:
    DefaultFpMode() : saved(_mm_getcsr()) { _mm_setcsr(0x1F80u); }
    ~DefaultFpMode() { _mm_setcsr(saved); }
    DefaultFpMode(const DefaultFpMode&) = delete;
    DefaultFpMode& operator=(const DefaultFpMode&) = delete;

private:
    unsigned saved;
};

}  // namespace

// No destructor to register: unloading the module runs nothing of the table.
static_assert(std::is_trivially_destructible_v<InterpolationTable>);

const InterpolationTable& InterpolationTable::shared() {
    static const InterpolationTable table;
    return table;
}

InterpolationTable::InterpolationTable() {
    const DefaultFpMode mode;
    // Both factors are symmetric, around different centres, so each is
    // evaluated once per distinct value.
    static_assert(kPrototypeLength == kRows * kTaps);
    for (int i = 0; i < kPrototypeLength / 2; ++i) {
        const double w = window(i);
        rows[i % kRows][i / kRows] = w;
        const int mirror = kPrototypeLength - 1 - i;
        rows[mirror % kRows][mirror / kRows] = w;
    }
    for (int n = 0; n <= kCentre; ++n) {
        const double k = kernel(n) * 4096.0;
        const int right = kCentre + n;
        const int left = kCentre - n;
        if (right < kPrototypeLength) rows[right % kRows][right / kRows] *= k;
        if (n != 0) rows[left % kRows][left / kRows] *= k;
    }
}

}  // namespace ReedDsp
