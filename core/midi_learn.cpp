// The learn operations the editor's menus call on the UI thread. learnTarget
// is stored plainly here; the audio thread clears it with a compare-and-swap
// when a controller completes the learn.
#include "core/plug.h"

namespace PlugCore {

namespace {
bool inRange(int32 index, const ParameterTable& params) {
    return index >= 0 && static_cast<std::uint32_t>(index) < params.size();
}
}  // namespace

void Plug::beginLearn(int32 index) {
    if (inRange(index, params)) learnTarget.store(index, std::memory_order_release);
}

void Plug::cancelLearn() { learnTarget.store(-1, std::memory_order_release); }

// -1 means "nothing armed", so it is never a parameter that is learning.
bool Plug::isLearning(int32 index) const { return index >= 0 && learnTarget.load(std::memory_order_acquire) == index; }

void Plug::unlearn(int32 index) {
    if (inRange(index, params))
        params[static_cast<std::uint32_t>(index)].controllerKey.store(-1, std::memory_order_relaxed);
    learnTarget.store(-1, std::memory_order_release);
}

int32 Plug::getMapping(int32 index) const {
    if (!inRange(index, params)) return -1;
    return params[static_cast<std::uint32_t>(index)].controllerKey.load(std::memory_order_relaxed);
}

}  // namespace PlugCore
