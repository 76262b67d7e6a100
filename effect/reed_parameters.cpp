#include "effect/reed_parameters.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/text_format.h"

namespace ReedParams {

// Registration order; the order fills the same slots whichever way it runs.
const Definition kDefinitions[kCount] = {
    {kRate, "rate", "Hz", 0.5f}, {kDepth, "depth", "%", 0.5f},   {kDelay, "delay", "ms", 0.5f},
    {kWet, "wet", "%", 0.5f},    {kSpread, "spread", "%", 0.5f}, {kPhase, "phase", "%", 0.25f},
    {kShape, "shape", "", 0.0f}, {kInvert, "invert", "", 0.0f},  {kRange, "range", "ms", 0.67f},
};

std::uint32_t choices(std::uint32_t index) {
    switch (index) {
    case kShape:
    case kInvert: return 2;
    case kRange: return 4;
    default: return 0;
    }
}

std::uint32_t choiceOf(std::uint32_t index, float value) {
    switch (index) {
    case kShape:
    case kInvert: return value > 0.5f ? 1 : 0;
    case kRange: return rangeIndex(value);
    default: return 0;
    }
}

std::uint32_t rangeIndex(float range) {
    float x = 4.0f * range;
    if (!(x < 3.0f)) x = 3.0f;
    if (!(x > 0.0f)) x = 0.0f;
    return static_cast<std::uint32_t>(x);
}

namespace {

constexpr std::size_t kTextSize = 16;  // longest text is "triangle"; hosts give more

void formatDelay(char* text, float value, float range) {
    const double ms = std::ldexp(static_cast<double>(value + 1.0f), static_cast<int>(rangeIndex(range))) * 2.5;
    PlugCore::formatFixed(text, kTextSize, ms, 1);
}

void formatRate(char* text, float value) {
    const double hz = static_cast<double>(std::pow(20.0f, value * 2.0f - 1.0f));
    const int decimals = hz < 10.0 ? 2 : hz < 100.0 ? 1 : 0;
    PlugCore::formatFixed(text, kTextSize, hz, decimals);
}

void formatPercent(char* text, float value) { std::snprintf(text, kTextSize, "%d", static_cast<int>(value * 100.0f)); }

}  // namespace

void format(std::uint32_t index, char* text, float value, float range) {
    static const char* const ranges[] = {"5", "10", "20", "40"};
    switch (index) {
    case kDelay: formatDelay(text, value, std::fabs(range)); break;
    case kRate: formatRate(text, value); break;
    case kDepth:
    case kSpread:
    case kPhase:
    case kWet: formatPercent(text, value); break;
    case kShape: std::strcpy(text, value > 0.5f ? "sine" : "triangle"); break;
    case kInvert: std::strcpy(text, value > 0.5f ? "invert" : "normal"); break;
    case kRange: std::strcpy(text, ranges[rangeIndex(value)]); break;
    default: break;
    }
}

}  // namespace ReedParams
