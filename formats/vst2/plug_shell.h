// Vst2::PlugShell: the VST 2.4 form of an effect. It is the host record's
// object: the dispatcher's answers come from the AudioEffect bases and from
// here, and everything the effect does is the PlugCore::Plug it carries. It
// is also that effect's HostLink, turning what the core tells a host into
// host callback opcodes.
//
// Threads: as the AudioEffect bases: the dispatcher on the host's UI thread,
// the process entries and effProcessEvents on its audio thread.
// Ownership: the host owns the shell from the entry call to effClose; the
// shell owns the effect.
#pragma once

#include <memory>

#include "core/plug.h"
#include "formats/vst2/audio_effect.h"
#include "formats/vst2/event_list.h"

namespace Vst2 {

/// Makes the effect a shell carries; null when it cannot be made.
using PlugFactory = PlugCore::Plug* (*)(PlugCore::HostLink* host);

/// The unique ID hashed from an effect's name (h = h * 33 + byte, from 5381).
std::int32_t hashName(const char* name);

class PlugShell final : public vst::AudioEffectX, public PlugCore::HostLink {
public:
    /// Makes the effect with make and fills the host record from it. plug()
    /// is null when the effect could not be made.
    PlugShell(vst::audioMasterCallback audioMaster, PlugFactory make);
    ~PlugShell() override;

    PlugCore::Plug* plug() const { return effect.get(); }

    // ---- AudioEffect ----
    void resume() override;
    void setSampleRate(float rate) override { effect->setSampleRate(rate); }
    void setBlockSize(vst::int32 size) override { effect->setBlockSize(size); }
    void processReplacing(float** inputs, float** outputs, vst::int32 frames) override;
    void processDoubleReplacing(double** inputs, double** outputs, vst::int32 frames) override;
    void process(float** inputs, float** outputs, vst::int32 frames) override;
    void setParameter(vst::int32 index, float value) override { effect->setParameter(index, value); }
    float getParameter(vst::int32 index) override { return effect->getParameter(index); }
    vst::int32 getProgram() override { return effect->getProgram(); }
    void setProgram(vst::int32 program) override { effect->setProgram(program); }
    void setProgramName(char* name) override { effect->setProgramName(name); }
    void getProgramName(char* name) override { effect->getProgramName(name); }
    void getParameterLabel(vst::int32 index, char* label) override { effect->getParameterLabel(index, label); }
    void getParameterDisplay(vst::int32 index, char* text) override { effect->getParameterDisplay(index, text); }
    void getParameterName(vst::int32 index, char* text) override { effect->getParameterName(index, text); }
    vst::int32 getChunk(void** data, bool isPreset) override { return effect->getChunk(data, isPreset); }
    vst::int32 setChunk(void* data, vst::int32 byteSize, bool isPreset) override;

    // ---- AudioEffectX ----
    bool processEvents(vst::VstEvents* events) override;
    bool getProgramNameIndexed(vst::int32 category, vst::int32 index, char* text) override {
        return effect->getProgramNameIndexed(category, index, text);
    }
    bool getInputProperties(vst::int32 index, vst::VstPinProperties* properties) override;
    bool getOutputProperties(vst::int32 index, vst::VstPinProperties* properties) override;
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    vst::VstIntPtr vendorSpecific(vst::int32 index, vst::VstIntPtr value, void* ptr, float opt) override;
    vst::int32 canDo(char* text) override;

    // ---- HostLink ----
    void beginEdit(std::int32_t index) override { callHost(vst::audioMasterBeginEdit, index); }
    void endEdit(std::int32_t index) override { callHost(vst::audioMasterEndEdit, index); }
    void automate(std::int32_t index, float value) override {
        callHost(vst::audioMasterAutomate, index, 0, nullptr, value);
    }
    void updateDisplay() override { callHost(vst::audioMasterUpdateDisplay); }
    bool getTime(PlugCore::HostTime& time) override;

private:
    bool getPinProperties(vst::int32 index, const char* pairName, vst::int32 pairs, vst::VstPinProperties* p);

    std::unique_ptr<PlugCore::Plug> effect;
    EventList events;  // the list effProcessEvents handed over, read by the next process call
};

}  // namespace Vst2
