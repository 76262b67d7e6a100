// The one home of every parameter value. Writers (host, editor, programs,
// MIDI) store quantised values; the audio side and the editor each find
// changes by comparing against their own last-seen copy, so no writer ever
// notifies and no reader ever locks.
//
// Threads: values, audioSeen and editorSeen are relaxed atomics written and
// read whole from the UI and audio threads. scanForAudio() runs on the audio
// thread only, syncToEditor() on the UI thread only. Names and labels are
// constant texts owned by the effect; they must outlive the table.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

namespace PlugCore {

/// Called on the audio thread for each parameter that moved since the audio
/// side last saw it; true means the effect must re-derive its settings.
class IParamCook {
public:
    virtual ~IParamCook() = default;
    virtual bool cookParameter(std::uint32_t index) = 0;
};

/// Implemented by the editor. parameterChanged answers false when the editor
/// is busy and wants the value offered again at the next scan.
class IParamNotify {
public:
    virtual bool parameterChanged(std::uint32_t index, float value) = 0;
    virtual void dataReady(void* data) = 0;
    virtual void learnFinished(std::uint32_t index) = 0;

protected:
    ~IParamNotify() = default;
};

/// Number of steps above zero in the value grid: values are q / 64000.
constexpr std::int32_t kParameterSteps = 64000;
/// The grid's step, the single-precision constant every stored value is a multiple of.
constexpr float kParameterStep = 1.5625e-5f;

/// The grid step q (0 ... 64000) a value quantises to. A value that already
/// is a stored step keeps that step, so quantising is idempotent.
std::int32_t quantiseStep(float v);
/// The stored value of step q.
float stepValue(std::int32_t q);
/// quantiseStep then stepValue: the value a parameter stores for v.
float quantise(float v);

struct ParameterEntry {
    std::atomic<float> audioSeen{-1.0f};
    std::atomic<float> editorSeen{0.0f};
    std::atomic<float> defaultValue{0.0f};
    std::atomic<float> value{0.0f};
    const char* name = nullptr;
    const char* label = nullptr;
    std::atomic<std::int32_t> controllerKey{-1};
    std::uint32_t flags = 0;  // bit 0: global, program changes leave it alone
};

class ParameterTable {
public:
    static constexpr std::uint32_t kGlobal = 1;

    explicit ParameterTable(std::uint32_t count);

    std::uint32_t size() const { return count_; }
    ParameterEntry& operator[](std::uint32_t i) { return entries_[i]; }
    const ParameterEntry& operator[](std::uint32_t i) const { return entries_[i]; }

    /// Registers a parameter; ignored when index >= size(). UI thread, at construction.
    void defineParameter(std::uint32_t index, const char* name, const char* label, float defaultValue);

    /// Stores quantise(v); ignored when index >= size(). Any thread.
    void set(std::uint32_t index, float v);
    /// The stored value, or 0 when index >= size(). Any thread.
    float get(std::uint32_t index) const;
    /// The default index was defined with, which the user's defaults never
    /// replace; 0 when index >= size(). Any thread.
    float definedDefault(std::uint32_t index) const;

    /// Audio thread: refreshes audioSeen, cooking each moved parameter.
    bool scanForAudio(IParamCook& cook);
    /// UI thread: offers each value the editor has not accepted yet.
    void syncToEditor(IParamNotify* notify);
    /// Every default becomes the current value.
    void takeDefaults();
    /// Gives key to index alone: any other parameter holding it loses it.
    void assignController(std::uint32_t index, std::int32_t key);
    /// Makes the next audio scan report every parameter.
    void invalidateAudioSeen();
    /// Marks the table changed, so the next audio scan reports true.
    void markChanged() { changed_.store(true, std::memory_order_relaxed); }

private:
    std::unique_ptr<ParameterEntry[]> entries_;
    std::unique_ptr<float[]> definedDefaults_;
    std::uint32_t count_;
    std::atomic<bool> changed_{true};
};

}  // namespace PlugCore
