#include "formats/clap/param_bridge.h"

#include <cmath>
#include <cstdio>

#include "core/parameter_text.h"

namespace Clap {

bool ParamBridge::info(std::uint32_t index, clap::clap_param_info_t& out) const {
    if (index >= count()) return false;
    const PlugCore::ParameterEntry& entry = plug.parameters()[index];
    const std::uint32_t choices = plug.parameterChoices(index);
    out = clap::clap_param_info_t{};
    out.id = index;
    out.flags = clap::CLAP_PARAM_IS_AUTOMATABLE;
    if (choices >= 2) out.flags |= clap::CLAP_PARAM_IS_STEPPED;
    if (choices >= 3) out.flags |= clap::CLAP_PARAM_IS_ENUM;
    out.cookie = nullptr;  // events are looked up by id; a host may send null anyway
    std::snprintf(out.name, sizeof out.name, "%s", entry.name ? entry.name : "");
    out.min_value = 0.0;
    out.max_value = choices >= 2 ? static_cast<double>(choices - 1) : 1.0;
    out.default_value = toHost(index, PlugCore::quantise(plug.parameters().definedDefault(index)));
    return true;
}

double ParamBridge::toHost(std::uint32_t index, float stored) const {
    if (plug.parameterChoices(index) >= 2) return static_cast<double>(plug.parameterChoice(index, stored));
    return static_cast<double>(stored);
}

float ParamBridge::fromHost(std::uint32_t index, double value) const {
    const std::uint32_t choices = plug.parameterChoices(index);
    if (choices < 2) return PlugCore::quantise(static_cast<float>(value));
    // Hosts that know steps send whole numbers; anything between is rounded.
    double step = std::round(value);
    if (!(step > 0.0)) step = 0.0;
    if (step > choices - 1) step = choices - 1;
    return PlugCore::quantise(static_cast<float>(step) / static_cast<float>(choices - 1));
}

bool ParamBridge::toText(std::uint32_t index, double value, char* text, std::uint32_t capacity) const {
    if (index >= count() || !text || capacity == 0) return false;
    char shown[256] = {};
    plug.getParameterText(index, fromHost(index, value), shown);
    std::snprintf(text, capacity, "%s", shown);
    return true;
}

bool ParamBridge::fromText(std::uint32_t index, const char* text, double& value) const {
    float stored = 0.0f;
    if (index >= count() || !PlugCore::parseParameterText(plug, index, text, stored)) return false;
    value = toHost(index, stored);
    return true;
}

}  // namespace Clap
