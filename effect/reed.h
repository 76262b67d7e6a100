// Reed: the Tallow Reed effect on top of the plug-in core. It defines the
// nine parameters, formats their texts, renders the audio and puts its
// controls on the editor's panel.
//
// Threads: as PlugCore::Plug. Ownership: created 16-byte aligned through
// PlugCore::createEffect and owned by the format that carries it. The effect
// owns its editor and the editor's descriptor; the editor goes first.
#pragma once

#include "core/plug.h"
#include "effect/processor.h"
#include "gui/edit_builder.h"
#include "gui/editor_descriptor.h"

class Reed : public PlugCore::Plug, public Wispkit::IEditBuilder {
public:
    static constexpr const char* kName = "Tallow Reed";
    static constexpr PlugCore::int32 kPrograms = 16;
    static constexpr PlugCore::int32 kLatency = 16;

    /// host may be null: the effect then tells nobody of its changes.
    explicit Reed(PlugCore::HostLink* host);
    ~Reed() override;

    void prepareProcessing() override;
    void resetProcessing() override;
    bool renderBlock(bool changed, const PlugCore::Transport* transport, double** inputs, double** outputs,
                     std::uint32_t frames) override;
    void formatParameter(std::uint32_t index, char* text, float value) override;
    PlugCore::int32 getLatency() override { return kLatency; }
    std::uint32_t parameterChoices(std::uint32_t index) const override;
    std::uint32_t parameterChoice(std::uint32_t index, float value) const override;
    /// Retries a preparation that failed before (the effect stays silent until one succeeds).
    void resume() override;
    /// UI thread: the six knobs, the range menu and the two switches.
    void build(Wispkit::PlugFrame* frame) override;

private:
    void defineParameters();

    ReedDsp::Processor processor;
    Wispkit::EditorDescriptor editorDescriptor;
    bool preparationFailed = false;
};
