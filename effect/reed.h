// Reed: the Tallow Reed effect on top of the plug-in core. It defines the
// nine parameters, formats their texts and renders the audio.
//
// Threads: as PlugCore::Plug. Ownership: created 16-byte aligned by the
// module entry, destroyed by the core's effClose handling.
#pragma once

#include "core/plug.h"
#include "effect/processor.h"

class Reed : public PlugCore::Plug {
public:
    static constexpr const char* kName = "Tallow Reed";
    static constexpr vst::int32 kPrograms = 16;
    static constexpr vst::int32 kLatency = 16;

    explicit Reed(vst::audioMasterCallback audioMaster);
    ~Reed() override;

    void prepareProcessing() override;
    void resetProcessing() override;
    bool renderBlock(bool changed, const PlugCore::Transport* transport, double** inputs, double** outputs,
                     std::uint32_t frames) override;
    void formatParameter(std::uint32_t index, char* text, float value) override;
    vst::int32 getLatency() override { return kLatency; }
    /// Retries a preparation that failed before (the effect stays silent until one succeeds).
    void resume() override;

private:
    void defineParameters();

    ReedDsp::Processor processor;
    bool preparationFailed = false;
};
