// PlugCore::Plug: the shell every effect of this family shares, whichever
// plug-in format carries it to a host. It owns the parameter table, the
// programs, the chunk buffer, the work block and the editor, and drives the
// effect's renderer through the hooks below, one sub-block at a time. What
// it tells the host goes through a HostLink; the events a host hands over
// for a block arrive through an EventQueue. Each format (formats/) turns its
// host's calls into calls of this class.
//
// Threads: state, chunk, program and editor calls come from the host's UI
// thread; the process calls and processEvents from its audio thread. The
// core takes no locks.
// Ownership: the format owns the effect; the effect owns everything it
// allocates, its editor included. The host link is the format's.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <span>
#include <string>

#include "core/editor.h"
#include "core/event_queue.h"
#include "core/host_link.h"
#include "core/parameter_table.h"
#include "core/program.h"
#include "core/sustain_pedal.h"
#include "core/transport.h"

namespace PlugCore {

using int32 = std::int32_t;

/// The maker's name, shown to hosts and used for the per-user folder.
inline constexpr const char* kVendor = "Corvelight";

class Plug : public IParamCook {
public:
    /// host may be null: the effect then tells nobody of its changes.
    Plug(HostLink* host, int32 numPrograms, int32 numParams, const char* name, int32 inputPairs, int32 outputPairs);
    ~Plug() override;

    // Effects live in 16-byte aligned memory, allocated and released here.
    static void* operator new(std::size_t size);
    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept;
    static void operator delete(void* memory) noexcept;
    // Releases the memory when a constructor run under the nothrow form throws.
    static void operator delete(void* memory, const std::nothrow_t&) noexcept;

    Plug(const Plug&) = delete;
    Plug& operator=(const Plug&) = delete;

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
    /// How many evenly spread choices parameter index takes (a switch has 2);
    /// 0 for a continuous parameter. A choice c of n stores c / (n - 1).
    virtual std::uint32_t parameterChoices(std::uint32_t index) const { return 0; }
    /// Any thread, the audio thread included: which choice a stored value
    /// means, as the effect reads it (the nearest one unless it says otherwise).
    virtual std::uint32_t parameterChoice(std::uint32_t index, float value) const;

    // ---- identity ----
    const char* effectName() const { return name; }
    int32 inputPairCount() const { return inputPairs; }
    int32 outputPairCount() const { return outputPairs; }
    /// "<vendor> <name>", cut to fit size bytes with the terminator.
    void getProductString(char* text, std::size_t size) const;

    // ---- setup (UI thread, while suspended) ----
    void setSampleRate(float rate);
    void setBlockSize(int32 size);
    float getSampleRate() const { return sampleRate; }
    int32 getBlockSize() const { return blockSize; }
    /// Prepares when the rate or block size changed, marks every parameter
    /// changed, resets the processing and forgets any pending events.
    virtual void resume();
    void suspend() {}

    // ---- processing (audio thread) ----
    /// Keeps events for the next process call, which applies them at their
    /// frames. The queue must live until then; a refused call or a resume
    /// forgets it too.
    void processEvents(const EventQueue* events) { pendingEvents = events; }
    void processReplacing(float** inputs, float** outputs, int32 frames);
    void processDoubleReplacing(double** inputs, double** outputs, int32 frames);
    /// The accumulating form: adds the output to what the buffers hold.
    void process(float** inputs, float** outputs, int32 frames);

    // ---- parameters ----
    void setParameter(int32 index, float value);
    /// Stores the value and reports it to the host, unless the host has no record yet.
    void setParameterAutomated(int32 index, float value);
    float getParameter(int32 index) const;
    void beginEdit(int32 index);
    void endEdit(int32 index);
    void getParameterLabel(int32 index, char* label) const;
    void getParameterDisplay(int32 index, char* text);
    void getParameterName(int32 index, char* text) const;
    ParameterTable& parameters() { return params; }
    const ParameterTable& parameters() const { return params; }
    // IParamCook: every parameter change asks the effect to re-derive its settings.
    bool cookParameter(std::uint32_t index) override { return true; }

    // ---- programs ----
    int32 getProgram() const { return curProgram; }
    /// Ignored outside 0 to programCount() - 1.
    void setProgram(int32 program);
    void setProgramName(const char* name);
    void getProgramName(char* name) const;
    bool getProgramNameIndexed(int32 category, int32 index, char* text) const;
    /// The live values go back into program p.
    void storeProgram(int32 p);
    const Program& program(int32 p) const { return programs[p]; }
    int32 programCount() const { return numPrograms; }

    // ---- state: chunks, factory bank, defaults file (UI thread) ----
    /// The state as a program chunk (isPreset) or a bank chunk; data points at
    /// bytes the effect keeps until the next call. Returns their size.
    int32 getChunk(void** data, bool isPreset);
    /// Loads a chunk. True when every record was applied; a bad header or
    /// record is reported to the user, and records before it stay applied.
    bool setChunk(const void* data, int32 byteSize, bool isPreset);
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

    // ---- the editor (UI thread) ----
    /// Takes ownership of editor, deleting the one before.
    void setEditor(Editor* editor);
    Editor* getEditor() const { return editor; }

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
    /// Applies, from index, every consecutive event whose frame is not
    /// greater than that of the event at index, and returns the index of the
    /// first one not applied. frame is where the group lands in the block.
    /// Audio thread.
    virtual int32 applyEventGroup(const EventQueue& events, int32 index, std::uint32_t frame);
    /// Asks the block driver to rescan the parameters before the next sub-block.
    void requestRescan() { rescanNeeded = true; }
    /// Asks for prepareProcessing at the next resume, as a new rate or block size does.
    void requestPreparation() { prepareNeeded = true; }

    /// False while the effect builds its start-up state: the host has no
    /// record yet, so restored values are stored without telling it.
    bool hostInformed = true;

    HostLink* host;
    const char* name;
    int32 inputPairs;
    int32 outputPairs;
    int32 numPrograms;
    int32 curProgram = 0;
    float sampleRate = 44100.0f;
    int32 blockSize = 1024;
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
    // Host events, audio thread (core/midi_events.cpp).
    void applyEvent(const HostEvent& event);
    void applyMidi(const std::uint8_t (&bytes)[3]);
    void controlChange(int32 number, int32 value);
    void learnableController(int32 key, int32 value);
    void completeLearn(int32 key);

    Editor* editor = nullptr;
    std::unique_ptr<double[]> workBlock;
    std::int32_t workBlockFrames = 0;
    std::unique_ptr<double*[]> inputBuffers;
    std::unique_ptr<double*[]> outputBuffers;
    std::unique_ptr<double*[]> subInputs;
    std::unique_ptr<double*[]> subOutputs;
    bool prepareNeeded = true;
    const EventQueue* pendingEvents = nullptr;
    double beatPosition = 0;
    float tempo = 120.0f;
    bool playing = false;
    bool rescanNeeded = false;
    std::atomic<std::int32_t> learnTarget{-1};  // parameter armed for MIDI learn, -1 for none
    SustainPedal sustain;
};

}  // namespace PlugCore

namespace PlugCore {

/// Makes the one effect this module carries, reporting to host (which may be
/// null). Defined by the effect; null when it cannot be made. UI thread.
Plug* createEffect(HostLink* host);

}  // namespace PlugCore
