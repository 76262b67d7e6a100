// The VST 2.4 module's front door: the host calls VSTPluginMain with its
// callback and receives the effect's host record. Everything else is reached
// through it.
#include <exception>
#include <memory>
#include <new>

#include "formats/vst2/entry.h"
#include "formats/vst2/plug_shell.h"

extern "C" TALLOW_EXPORT vst::AEffect* VSTPluginMain(vst::audioMasterCallback audioMaster) {
    if (!audioMaster) return nullptr;
    if (audioMaster(nullptr, vst::audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    try {
        std::unique_ptr<Vst2::PlugShell> shell(new (std::nothrow) Vst2::PlugShell(audioMaster, PlugCore::createEffect));
        if (!shell || !shell->plug()) return nullptr;
        return shell.release()->getAeffect();
    } catch (const std::exception&) {
        return nullptr;  // construction ran out of memory: the host sees a failed load
    }
}
