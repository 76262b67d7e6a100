#include "formats/vst2/audio_effect.h"

#include <cstring>

namespace vst {
namespace {

VstIntPtr dispatchEntry(AEffect* e, int32 opcode, int32 index, VstIntPtr value, void* ptr, float opt) {
    AudioEffect* effect = AudioEffect::fromAeffect(e);
    if (!effect) return 0;
    VstIntPtr result = effect->dispatcher(opcode, index, value, ptr, opt);
    if (opcode == effClose) {
        delete effect;
        return 1;
    }
    return result;
}

void processEntry(AEffect* e, float** in, float** out, int32 frames) {
    AudioEffect::fromAeffect(e)->process(in, out, frames);
}

void processReplacingEntry(AEffect* e, float** in, float** out, int32 frames) {
    AudioEffect::fromAeffect(e)->processReplacing(in, out, frames);
}

void processDoubleReplacingEntry(AEffect* e, double** in, double** out, int32 frames) {
    AudioEffect::fromAeffect(e)->processDoubleReplacing(in, out, frames);
}

void setParameterEntry(AEffect* e, int32 index, float value) {
    AudioEffect::fromAeffect(e)->setParameter(index, value);
}

float getParameterEntry(AEffect* e, int32 index) { return AudioEffect::fromAeffect(e)->getParameter(index); }

// Opcodes whose pointer argument the effect writes through or reads.
bool needsPointer(int32 opcode) {
    switch (opcode) {
    case effSetProgramName:
    case effGetProgramName:
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
    case effEditGetRect:
    case effGetChunk:
    case effSetChunk:
    case effGetProgramNameIndexed:
    case effGetInputProperties:
    case effGetOutputProperties:
    case effGetEffectName:
    case effGetVendorString:
    case effGetProductString:
    case effCanDo: return true;
    default: return false;
    }
}

}  // namespace

AudioEffect::AudioEffect(audioMasterCallback audioMaster, int32 numPrograms, int32 numParams)
    : numPrograms(numPrograms), numParams(numParams), audioMaster(audioMaster) {
    std::memset(&cEffect, 0, sizeof cEffect);
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = dispatchEntry;
    cEffect.process = processEntry;
    cEffect.setParameter = setParameterEntry;
    cEffect.getParameter = getParameterEntry;
    cEffect.numPrograms = numPrograms;
    cEffect.numParams = numParams;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.flags = effFlagsCanReplacing;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.uniqueID = fourCC('N', 'o', 'E', 'f');
    cEffect.version = 1;
    cEffect.processReplacing = processReplacingEntry;
    cEffect.processDoubleReplacing = processDoubleReplacingEntry;
}

AudioEffect::~AudioEffect() = default;

void* AudioEffect::operator new(std::size_t size) { return ::operator new (size, std::align_val_t{16}); }

void* AudioEffect::operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return ::operator new (size, std::align_val_t{16}, std::nothrow);
}

void AudioEffect::operator delete(void* memory) noexcept { ::operator delete (memory, std::align_val_t{16}); }

void AudioEffect::operator delete(void* memory, const std::nothrow_t&) noexcept { operator delete(memory); }

void AudioEffect::setEditor(PlugCore::Editor* newEditor) {
    editor = newEditor;
    if (editor) addFlags(effFlagsHasEditor);
    else
        cEffect.flags &= ~effFlagsHasEditor;
}

VstIntPtr AudioEffect::callHost(int32 opcode, int32 index, VstIntPtr value, void* ptr, float opt) const {
    if (!audioMaster) return 0;
    return audioMaster(const_cast<AEffect*>(&cEffect), opcode, index, value, ptr, opt);
}

// The host reads the rect it is pointed at; a copy of the editor's own keeps
// the record's layout in this module's hands.
bool AudioEffect::getEditorRect(ERect** rect) {
    const PlugCore::EditorRect* r = nullptr;
    if (!editor || !editor->getRect(&r)) {
        *rect = nullptr;
        return false;
    }
    if (r) editorRect = ERect{r->top, r->left, r->bottom, r->right};
    *rect = r ? &editorRect : nullptr;
    return true;
}

VstIntPtr AudioEffect::dispatcher(int32 opcode, int32 index, VstIntPtr value, void* ptr, float opt) {
    if (needsPointer(opcode) && !ptr) return 0;
    char* text = static_cast<char*>(ptr);
    switch (opcode) {
    case effOpen: open(); return 0;
    case effClose: close(); return 1;
    case effSetProgram:
        if (value >= 0 && value < numPrograms) setProgram(static_cast<int32>(value));
        return 0;
    case effGetProgram: return getProgram();
    case effSetProgramName: setProgramName(text); return 0;
    case effGetProgramName: getProgramName(text); return 0;
    case effGetParamLabel: getParameterLabel(index, text); return 0;
    case effGetParamDisplay: getParameterDisplay(index, text); return 0;
    case effGetParamName: getParameterName(index, text); return 0;
    case effSetSampleRate: setSampleRate(opt); return 0;
    case effSetBlockSize: setBlockSize(static_cast<int32>(value)); return 0;
    case effMainsChanged:
        if (value) resume();
        else
            suspend();
        return 0;
    case effEditGetRect: return getEditorRect(static_cast<ERect**>(ptr)) ? 1 : 0;
    case effEditOpen: return editor && editor->open(ptr) ? 1 : 0;
    case effEditClose:
        if (editor) editor->close();
        return 0;
    case effEditIdle:
        if (editor) editor->idle();
        return 0;
    case effIdentify: return fourCC('N', 'v', 'E', 'f');
    case effGetChunk: return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk: setChunk(ptr, static_cast<int32>(value), index != 0); return 0;
    default: return 0;
    }
}

VstIntPtr AudioEffectX::dispatcher(int32 opcode, int32 index, VstIntPtr value, void* ptr, float opt) {
    if (needsPointer(opcode) && !ptr) return 0;
    char* text = static_cast<char*>(ptr);
    switch (opcode) {
    case effProcessEvents: processEvents(static_cast<VstEvents*>(ptr)); return 1;
    case effCanBeAutomated: return canParameterBeAutomated(index) ? 1 : 0;
    case effGetNumProgramCategories: return getNumCategories();
    case effGetProgramNameIndexed: return getProgramNameIndexed(static_cast<int32>(value), index, text) ? 1 : 0;
    case effConnectInput:
    case effConnectOutput: return 1;
    case effGetInputProperties: return getInputProperties(index, static_cast<VstPinProperties*>(ptr)) ? 1 : 0;
    case effGetOutputProperties: return getOutputProperties(index, static_cast<VstPinProperties*>(ptr)) ? 1 : 0;
    case effGetPlugCategory: return getPlugCategory();
    case effSetBlockSizeAndSampleRate:
        setBlockSize(static_cast<int32>(value));
        setSampleRate(opt);
        return 1;
    case effGetEffectName: return getEffectName(text) ? 1 : 0;
    case effGetVendorString: return getVendorString(text) ? 1 : 0;
    case effGetProductString: return getProductString(text) ? 1 : 0;
    case effGetVendorVersion: return getVendorVersion();
    case effVendorSpecific: return vendorSpecific(index, value, ptr, opt);
    case effCanDo: return canDo(text);
    case effGetTailSize: return getGetTailSize();
    case effGetParameterProperties: return 0;
    case effKeysRequired: return 1;  // keys not needed
    case effGetVstVersion: return getVstVersion();
    case effEditKeyDown:
        return editor && editor->onKeyDown(index, static_cast<int32>(value), static_cast<int32>(opt)) ? 1 : 0;
    case effEditKeyUp:
        return editor && editor->onKeyUp(index, static_cast<int32>(value), static_cast<int32>(opt)) ? 1 : 0;
    case effSetEditKnobMode: return editor && editor->setKnobMode(static_cast<int32>(value)) ? 1 : 0;
    case effGetCurrentMidiProgram: return getCurrentMidiProgram(index, ptr);
    case effGetSpeakerArrangement: {
        if (!ptr || !value) return 0;
        getSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement**>(value),
                              static_cast<VstSpeakerArrangement**>(ptr));
        return 0;
    }
    case effSetTotalSampleToProcess: return setTotalSampleToProcess(value);
    default: return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
    }
}

}  // namespace vst
