// The module's front door: the host calls VSTPluginMain with its callback and
// receives the effect's host record. Everything else is reached through it.
#include <exception>
#include <new>

#include "effect/reed.h"
#include "module/entry.h"

extern "C" TALLOW_EXPORT vst::AEffect* VSTPluginMain(vst::audioMasterCallback audioMaster) {
    if (!audioMaster) return nullptr;
    if (audioMaster(nullptr, vst::audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    try {
        Reed* effect = new (std::nothrow) Reed(audioMaster);
        return effect ? effect->getAeffect() : nullptr;
    } catch (const std::exception&) {
        return nullptr;  // construction ran out of memory: the host sees a failed load
    }
}
