// A module built on the plug-in core whose output shows its parameters:
// while rendering, the left channel holds parameter 0 and the right channel
// parameter 1 as the renderer saw them, so a change made by MIDI is visible
// at the exact frame it took effect. Parameter 0 answers controller 7 from
// the start; parameter 1 has no controller and differs in program 3.
#include "core/controller_key.h"
#include "core/plug.h"
#include "formats/vst2/entry.h"
#include "formats/vst2/plug_shell.h"

namespace {

class MidiProbe : public PlugCore::Plug {
public:
    explicit MidiProbe(PlugCore::HostLink* host) : Plug(host, 16, 2, "Midi Probe", 1, 1) {
        params.defineParameter(0, "level", "", 0.0f);
        params.defineParameter(1, "other", "", 0.5f);
        params.assignController(0, PlugCore::controllerKey(7));
        programs[3].values[1] = 0.25f;  // so that a program change to 3 shows on the right channel
    }
    void prepareProcessing() override {}
    void resetProcessing() override {}
    void formatParameter(std::uint32_t, char* text, float) override { text[0] = 0; }
    bool renderBlock(bool, const PlugCore::Transport*, double**, double** outputs, std::uint32_t frames) override {
        for (int c = 0; c < 2; ++c) {
            const double v = params[static_cast<std::uint32_t>(c)].audioSeen.load();
            for (std::uint32_t i = 0; i < frames; ++i) outputs[c][i] = v;
        }
        return true;
    }
};

}  // namespace

extern "C" TALLOW_EXPORT vst::AEffect* VSTPluginMain(vst::audioMasterCallback master) {
    if (!master || master(nullptr, vst::audioMasterVersion, 0, 0, nullptr, 0) == 0) return nullptr;
    auto make = [](PlugCore::HostLink* host) -> PlugCore::Plug* { return new (std::nothrow) MidiProbe(host); };
    auto* shell = new (std::nothrow) Vst2::PlugShell(master, make);
    return shell ? shell->getAeffect() : nullptr;
}
