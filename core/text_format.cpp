#include "core/text_format.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace PlugCore {

namespace {

// value * 10^decimals rounded half to even, computed exactly in integers.
// Returns false when the value is too large for 64 bits.
bool scaledRound(double value, int decimals, std::uint64_t& out) {
    int exponent = 0;
    const double fraction = std::frexp(value, &exponent);  // value = fraction * 2^exponent
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    exponent -= 53;  // value = mantissa * 2^exponent exactly
    unsigned __int128 scaled = mantissa;
    for (int i = 0; i < decimals; ++i) scaled *= 10;
    if (exponent >= 0) {
        if (exponent > 10) return false;
        scaled <<= exponent;
        if (scaled >> 64) return false;
        out = static_cast<std::uint64_t>(scaled);
        return true;
    }
    const int shift = -exponent;
    if (shift >= 127) {  // far below one unit of the last decimal
        out = 0;
        return true;
    }
    const unsigned __int128 one = static_cast<unsigned __int128>(1) << shift;
    unsigned __int128 whole = scaled >> shift;
    const unsigned __int128 rest = scaled & (one - 1);
    const unsigned __int128 half = one >> 1;
    if (rest > half || (rest == half && (whole & 1))) ++whole;
    if (whole >> 64) return false;
    out = static_cast<std::uint64_t>(whole);
    return true;
}

}  // namespace

std::size_t formatFixed(char* text, std::size_t size, double value, int decimals) {
    if (decimals < 0) decimals = 0;
    if (decimals > 3) decimals = 3;
    std::uint64_t scaled = 0;
    if (!std::isfinite(value) || !scaledRound(std::fabs(value), decimals, scaled)) {
        const int n = std::snprintf(text, size, "%.*f", decimals, value);
        return n < 0 ? 0 : static_cast<std::size_t>(n);
    }
    std::uint64_t divisor = 1;
    for (int i = 0; i < decimals; ++i) divisor *= 10;
    const char* sign = std::signbit(value) ? "-" : "";
    const auto whole = static_cast<unsigned long long>(scaled / divisor);
    const auto part = static_cast<unsigned long long>(scaled % divisor);
    const int n = decimals == 0 ? std::snprintf(text, size, "%s%llu", sign, whole)
                                : std::snprintf(text, size, "%s%llu.%0*llu", sign, whole, decimals, part);
    return n < 0 ? 0 : static_cast<std::size_t>(n);
}

}  // namespace PlugCore
