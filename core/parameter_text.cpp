#include "core/parameter_text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

#include "core/plug.h"

namespace PlugCore {

namespace {

constexpr std::size_t kTextSize = 128;

std::string_view trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

bool sameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The text without the parameter's label behind it ("12 ms" and "12ms" give "12").
std::string_view withoutLabel(std::string_view text, const char* label) {
    const std::size_t n = label ? std::strlen(label) : 0;
    if (n == 0 || text.size() < n || !sameText(text.substr(text.size() - n), label)) return text;
    return trim(text.substr(0, text.size() - n));
}

// A whole, finite number in the C locale's notation, whatever the process's locale.
bool readNumber(std::string_view text, double& number) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const char* end = text.data() + text.size();
    auto [at, error] = std::from_chars(text.data(), end, number);
    return error == std::errc() && at == end && std::isfinite(number);
}

// The number the display shows for step q.
double shownNumber(Plug& plug, std::uint32_t index, std::int32_t q) {
    char text[kTextSize] = {};
    plug.formatParameter(index, text, stepValue(q));
    double number = 0.0;
    return readNumber(trim(text), number) ? number : 0.0;
}

bool readChoice(Plug& plug, std::uint32_t index, std::string_view text, std::uint32_t choices, float& value) {
    const std::string_view bare = withoutLabel(text, plug.parameters()[index].label);
    for (std::uint32_t c = 0; c < choices; ++c) {
        const float v = static_cast<float>(c) / static_cast<float>(choices - 1);
        char shown[kTextSize] = {};
        plug.formatParameter(index, shown, v);
        if (sameText(bare, trim(shown)) || sameText(text, trim(shown))) {
            value = quantise(v);
            return true;
        }
    }
    return false;
}

// The display grows with the value, so the first step that shows at least the
// number is found by halving; of it and the step below, the nearer one wins.
bool readContinuous(Plug& plug, std::uint32_t index, std::string_view text, float& value) {
    double wanted = 0.0;
    if (!readNumber(withoutLabel(text, plug.parameters()[index].label), wanted)) return false;
    std::int32_t low = 0, high = kParameterSteps;
    if (shownNumber(plug, index, high) < shownNumber(plug, index, low)) return false;  // not a growing display
    while (low < high) {
        const std::int32_t mid = low + (high - low) / 2;
        if (shownNumber(plug, index, mid) < wanted) low = mid + 1;
        else
            high = mid;
    }
    std::int32_t q = low;
    if (q > 0 && wanted - shownNumber(plug, index, q - 1) < shownNumber(plug, index, q) - wanted) --q;
    value = stepValue(q);
    return true;
}

}  // namespace

bool parseParameterText(Plug& plug, std::uint32_t index, const char* text, float& value) {
    if (!text || index >= plug.parameters().size()) return false;
    const std::string_view input = trim(text);
    if (input.empty()) return false;
    const std::uint32_t choices = plug.parameterChoices(index);
    if (choices >= 2) return readChoice(plug, index, input, choices, value);
    return readContinuous(plug, index, input, value);
}

}  // namespace PlugCore
