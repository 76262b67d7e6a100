// PlugCore::Plug: the host-facing shell every effect of this family shares.
// It answers the host's dispatcher, owns the parameter table, the programs,
// the chunk buffer and the work block, and drives the effect's renderer
// through the hooks below, one sub-block at a time.
//
// Threads: the dispatcher, chunk and program calls come from the host's UI
// thread; processReplacing, processDoubleReplacing, process and
// processEvents from its audio thread. The core takes no locks.
// Ownership: the host owns the effect from the entry call to effClose; the
// effect owns everything it allocates, its editor included.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "core/event_list.h"
#include "core/parameter_table.h"
#include "core/program.h"
#include "core/sustain_pedal.h"
#include "core/transport.h"
#include "core/vst/audio_effect.h"

namespace PlugCore {

using vst::int32;
using vst::VstIntPtr;

/// The unique ID hashed from an effect's name (h = h * 33 + byte, from 5381).
std::int32_t hashName(const char* name);

class Plug : public vst::AudioEffectX, public IParamCook {
public:
    Plug(vst::audioMasterCallback audioMaster, int32 numPrograms, int32 numParams, const char* name, int32 inputPairs,
         int32 outputPairs);
    ~Plug() override;

    // ---- hooks an effect fills or inherits (slot order) ----
    virtual const char* getInputPairName(int32 pair);
    virtual const char* getOutputPairName(int32 pair);
    /// Audio thread (resume): sets up for the current sample rate and block size.
    virtual void prepareProcessing() = 0;
    /// Audio thread: clears the running audio state.
    virtual void resetProcessing() = 0;
    /// Audio thread: renders one sub-block; inputs are the core's sanitised copy.
    virtual bool renderBlock(bool changed, const Transport* transport, double** inputs, double** outputs,
                             std::uint32_t frames) = 0;
    /// Any thread: the display text of value for parameter index, without the label.
    virtual void formatParameter(std::uint32_t index, char* text, float value) = 0;
    virtual void programChanged() {}
    virtual int32 getLatency() { return 0; }
    virtual void noteOn(int32 note, int32 velocity) {}
    virtual void noteOff(int32 note, int32 velocity) {}
    virtual void controllerChanged(int32 key, float value) {}
    /// The display text, one blank and the label (the display alone when the label is empty).
    virtual void getParameterText(std::uint32_t index, float value, char* text);

    // ---- AudioEffect / AudioEffectX overrides ----
    void resume() override;
    void setSampleRate(float rate) override;
    void setBlockSize(int32 size) override;
    void processReplacing(float** inputs, float** outputs, int32 frames) override;
    void processDoubleReplacing(double** inputs, double** outputs, int32 frames) override;
    void process(float** inputs, float** outputs, int32 frames) override;
    void setParameter(int32 index, float value) override;
    /// Stores the value and reports it to the host, unless the host has no record yet.
    void setParameterAutomated(int32 index, float value) override;
    float getParameter(int32 index) override;
    void setProgram(int32 program) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    void getParameterLabel(int32 index, char* label) override;
    void getParameterDisplay(int32 index, char* text) override;
    void getParameterName(int32 index, char* text) override;
    int32 getChunk(void** data, bool isPreset) override;
    int32 setChunk(void* data, int32 byteSize, bool isPreset) override;
    bool getProgramNameIndexed(int32 category, int32 index, char* text) override;
    bool getInputProperties(int32 index, vst::VstPinProperties* properties) override;
    bool getOutputProperties(int32 index, vst::VstPinProperties* properties) override;
    bool processEvents(vst::VstEvents* events) override;
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    VstIntPtr vendorSpecific(int32 index, VstIntPtr value, void* ptr, float opt) override;
    int32 canDo(char* text) override;

    // IParamCook: every parameter change asks the effect to re-derive its settings.
    bool cookParameter(std::uint32_t index) override { return true; }

    // ---- programs ----
    /// The live values go back into program p.
    void storeProgram(int32 p);

    // ---- state: chunks, factory bank, defaults file (UI thread) ----
    /// Empties out, then writes the state as a program chunk (isPreset) or a bank chunk.
    void writeChunk(bool isPreset, std::string& out);
    /// Sets every program's values to the current ones, then loads the module's
    /// factory bank resource, if there is one. The reset targets stay as they are.
    void loadFactoryBank();
    /// Checks a bank file's header and loads its chunk; a bad header is reported.
    void readFactoryBank(std::span<const unsigned char> file);
    /// Loads the user's defaults file, if there is one, and takes its values as reset targets.
    void loadDefaultsFile();
    /// Replaces the user's defaults file with the present state and takes the current
    /// values as reset targets. False, with the old file and the targets untouched, on failure.
    bool saveDefaultsFile();
    /// Where the defaults file lives (empty when the user's folder is unknown).
    std::string defaultsFilePath(bool makeFolder) const;

    // ---- parameter operations shared with the editor ----
    ParameterTable& parameters() { return params; }
    const ParameterTable& parameters() const { return params; }
    const char* effectName() const { return name; }
    const Program& program(int32 p) const { return programs[p]; }
    int32 programCount() const { return numPrograms; }

    // ---- MIDI learn (UI thread; the audio thread completes a learn) ----
    /// Arms learn for parameter index, replacing any armed target; ignored when out of range.
    void beginLearn(int32 index);
    void cancelLearn();
    bool isLearning(int32 index) const;
    /// Removes index's mapping when in range; always disarms learn.
    void unlearn(int32 index);
    /// index's controller key (0xFFFFB0nn), or -1 when unmapped or out of range.
    int32 getMapping(int32 index) const;

protected:
    static constexpr const char* kVendor = "Corvelight";

    /// Applies, from index, every consecutive event whose deltaFrames is not
    /// greater than that of the event at index, and returns the index of the
    /// first one not applied. frame is where the group lands in the block.
    /// Audio thread.
    virtual int32 applyEventGroup(const EventList& events, int32 index, std::uint32_t frame);
    /// Asks the block driver to rescan the parameters before the next sub-block.
    void requestRescan() { rescanNeeded = true; }
    /// Asks for prepareProcessing at the next resume, as a new rate or block size does.
    void requestPreparation() { prepareNeeded = true; }

    /// False while the effect builds its start-up state: the host has no
    /// record yet, so restored values are stored without telling it.
    bool hostInformed = true;

    const char* name;
    int32 inputPairs;
    int32 outputPairs;
    ParameterTable params;
    std::unique_ptr<Program[]> programs;
    std::string chunk;  // getChunk's bytes, valid until the next getChunk

private:
    void reportChunkError(const char* reason);
    bool applyRecord(const unsigned char* record);
    bool acceptChunkName(const char* field);
    void allocateWorkBlock();
    bool workBlockReady(int32 frames);
    bool acceptBlock(int32 frames);
    bool renderSinglePrecision(float** inputs, int32 frames);
    void sanitiseInputs(double** inputs, std::uint32_t frames);
    void readTransport();
    void walkEvents(double** outputs, std::uint32_t frames);
    void renderSubBlock(double** outputs, std::uint32_t start, std::uint32_t length);
    bool getPinProperties(int32 index, const char* pairName, int32 pairs, vst::VstPinProperties* p);
    // MIDI input, audio thread (core/midi_events.cpp).
    void applyEvent(const vst::VstEvent& event);
    void controlChange(int32 number, int32 value);
    void learnableController(int32 key, int32 value);
    void completeLearn(int32 key);

    std::unique_ptr<double[]> workBlock;
    std::int32_t workBlockFrames = 0;
    std::unique_ptr<double*[]> inputBuffers;
    std::unique_ptr<double*[]> outputBuffers;
    std::unique_ptr<double*[]> subInputs;
    std::unique_ptr<double*[]> subOutputs;
    bool prepareNeeded = true;
    vst::VstEvents* pendingEvents = nullptr;
    double beatPosition = 0;
    float tempo = 120.0f;
    bool playing = false;
    bool rescanNeeded = false;
    std::atomic<std::int32_t> learnTarget{-1};  // parameter armed for MIDI learn, -1 for none
    SustainPedal sustain;
};

}  // namespace PlugCore
