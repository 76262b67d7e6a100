// Base classes of a VST 2.4 effect: AudioEffect holds the host record and
// turns dispatcher opcodes into virtual calls; AudioEffectX adds the 2.x
// extensions. Each virtual answers what a plain effect answers; derived
// classes override what they support.
//
// Threads: dispatcher() runs on the host's UI thread (state, editor) and the
// process entries on its audio thread. The editor belongs to the effect the
// object carries; this one only points at it.
#pragma once

#include "core/editor.h"
#include "formats/vst2/aeffect.h"

#include <cstddef>
#include <new>

namespace vst {

class AudioEffect {
public:
    AudioEffect(audioMasterCallback audioMaster, int32 numPrograms, int32 numParams);
    virtual ~AudioEffect();

    // Effects live in 16-byte aligned memory, allocated and released here.
    static void* operator new(std::size_t size);
    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept;
    static void operator delete(void* memory) noexcept;
    // Releases the memory when a constructor run under the nothrow form throws.
    static void operator delete(void* memory, const std::nothrow_t&) noexcept;

    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    /// The host record; its object field points back to this effect.
    AEffect* getAeffect() { return &cEffect; }
    static AudioEffect* fromAeffect(AEffect* e) { return static_cast<AudioEffect*>(e->object); }

    // Dispatcher and state.
    virtual VstIntPtr dispatcher(int32 opcode, int32 index, VstIntPtr value, void* ptr, float opt);
    virtual void open() {}
    virtual void close() {}
    virtual void suspend() {}
    virtual void resume() {}

    // Parameters.
    virtual void setParameter(int32 /*index*/, float /*value*/) {}
    virtual float getParameter(int32 /*index*/) { return 0; }

    // Programs and chunks.
    virtual int32 getProgram() { return curProgram; }
    virtual void setProgram(int32 program) { curProgram = program; }
    virtual void setProgramName(char* /*name*/) {}
    virtual void getProgramName(char* name) { *name = 0; }
    virtual void getParameterLabel(int32 /*index*/, char* label) { *label = 0; }
    virtual void getParameterDisplay(int32 /*index*/, char* text) { *text = 0; }
    virtual void getParameterName(int32 /*index*/, char* text) { *text = 0; }
    virtual int32 getChunk(void** data, bool /*isPreset*/ = false) {
        *data = nullptr;
        return 0;
    }
    virtual int32 setChunk(void* /*data*/, int32 /*byteSize*/, bool /*isPreset*/ = false) { return 0; }

    // Setup.
    virtual void setSampleRate(float sampleRate) { this->sampleRate = sampleRate; }
    virtual void setBlockSize(int32 blockSize) { this->blockSize = blockSize; }

    // Processing.
    virtual void process(float** /*inputs*/, float** /*outputs*/, int32 /*frames*/) {}
    virtual void processReplacing(float** inputs, float** outputs, int32 frames) = 0;
    virtual void processDoubleReplacing(double** /*inputs*/, double** /*outputs*/, int32 /*frames*/) {}

    /// Points at editor (not owned), or at none; sets the record's editor flag to match.
    void setEditor(PlugCore::Editor* newEditor);
    PlugCore::Editor* getEditor() const { return editor; }
    audioMasterCallback getAudioMaster() const { return audioMaster; }
    float getSampleRate() const { return sampleRate; }
    int32 getBlockSize() const { return blockSize; }

protected:
    void setUniqueID(int32 id) { cEffect.uniqueID = id; }
    void setNumInputs(int32 n) { cEffect.numInputs = n; }
    void setNumOutputs(int32 n) { cEffect.numOutputs = n; }
    void setInitialDelay(int32 delay) { cEffect.initialDelay = delay; }
    void addFlags(int32 bits) { cEffect.flags |= bits; }
    bool getEditorRect(ERect** rect);
    VstIntPtr callHost(int32 opcode, int32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0) const;

    float sampleRate = 44100.0f;
    int32 blockSize = 1024;
    int32 numPrograms;
    int32 numParams;
    int32 curProgram = 0;
    audioMasterCallback audioMaster;
    PlugCore::Editor* editor = nullptr;
    ERect editorRect{};  // the editor's extent as the host reads it
    AEffect cEffect{};
};

class AudioEffectX : public AudioEffect {
public:
    using AudioEffect::AudioEffect;

    VstIntPtr dispatcher(int32 opcode, int32 index, VstIntPtr value, void* ptr, float opt) override;

    // VST 2.x extensions, in the order hosts reach them through the dispatcher.
    virtual bool processEvents(VstEvents* /*events*/) { return false; }
    virtual bool canParameterBeAutomated(int32 /*index*/) { return true; }
    virtual int32 getNumCategories() { return 1; }
    virtual bool getProgramNameIndexed(int32 /*category*/, int32 /*index*/, char* /*text*/) { return false; }
    virtual bool getInputProperties(int32 /*index*/, VstPinProperties* /*properties*/) { return false; }
    virtual bool getOutputProperties(int32 /*index*/, VstPinProperties* /*properties*/) { return false; }
    virtual VstPlugCategory getPlugCategory() { return kPlugCategUnknown; }
    virtual bool setBypass(bool /*onOff*/) { return false; }
    virtual bool getEffectName(char* /*name*/) { return false; }
    virtual bool getVendorString(char* /*text*/) { return false; }
    virtual bool getProductString(char* /*text*/) { return false; }
    virtual int32 getVendorVersion() { return 0; }
    virtual VstIntPtr vendorSpecific(int32 /*lArg*/, VstIntPtr /*lArg2*/, void* /*ptrArg*/, float /*floatArg*/) {
        return 0;
    }
    virtual int32 canDo(char* /*text*/) { return 0; }
    virtual int32 getGetTailSize() { return 0; }
    virtual int32 getVstVersion() { return 2400; }
    virtual int32 getCurrentMidiProgram(int32 /*channel*/, void* /*currentProgram*/) { return -1; }
    virtual bool getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output) {
        *input = nullptr;
        *output = nullptr;
        return false;
    }
    virtual VstIntPtr setTotalSampleToProcess(VstIntPtr value) { return value; }
};

}  // namespace vst
