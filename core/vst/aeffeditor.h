// The editor interface an effect hands to its base class. The base owns the
// editor and deletes it with the effect. Called on the host's UI thread.
#pragma once

#include "core/vst/aeffect.h"

namespace vst {

class AudioEffect;

class AEffEditor {
public:
    explicit AEffEditor(AudioEffect* effect = nullptr) : effect_(effect) {}
    virtual ~AEffEditor() = default;

    // The slots keep the published interface's order.
    virtual AudioEffect* getEffect() { return effect_; }
    virtual bool getRect(ERect** rect) {
        *rect = nullptr;
        return false;
    }
    virtual bool open(void* parentWindow) {
        systemWindow_ = parentWindow;
        return false;
    }
    virtual void close() { systemWindow_ = nullptr; }
    virtual bool isOpen() const { return systemWindow_ != nullptr; }
    virtual void idle() {}
    // VST 2.1 keyboard hooks: this toolkit takes no keys.
    virtual bool onKeyDown(int32 /*character*/, int32 /*virtualKey*/, int32 /*modifiers*/) { return false; }
    virtual bool onKeyUp(int32 /*character*/, int32 /*virtualKey*/, int32 /*modifiers*/) { return false; }
    virtual bool onWheel(float /*distance*/) { return false; }
    virtual bool setKnobMode(int32 /*mode*/) { return false; }

protected:
    AudioEffect* effect_;
    void* systemWindow_ = nullptr;
};

}  // namespace vst
