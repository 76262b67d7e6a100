// Host events: the MIDI messages and parameter values the block driver hands
// over, applied at their frame on the audio thread. Channels are ignored
// everywhere; data bytes are taken as 7-bit values.
#include "core/controller_key.h"
#include "core/plug.h"

namespace PlugCore {

namespace {

// 1/127 as the single-precision constant every controller value is scaled by.
constexpr float kControllerScale = 0.007874016f;

constexpr int kDefaultNoteOffVelocity = 100;

}  // namespace

int32 Plug::applyEventGroup(const EventQueue& events, int32 index, std::uint32_t) {
    const std::int64_t first = events.frame(index);
    int32 next = index;
    do {
        applyEvent(events.at(next));
        ++next;
    } while (next < events.size() && events.frame(next) <= first);
    return next;
}

void Plug::applyEvent(const HostEvent& event) {
    switch (event.kind) {
    case HostEvent::Kind::Midi: applyMidi(event.midi); return;
    case HostEvent::Kind::Parameter:
        setParameter(static_cast<int32>(event.index), event.value);
        requestRescan();  // the value belongs to the sub-block after the event
        return;
    case HostEvent::Kind::Other: return;
    }
}

void Plug::applyMidi(const std::uint8_t (&bytes)[3]) {
    const int32 data1 = bytes[1] & 0x7F;
    const int32 data2 = bytes[2] & 0x7F;
    switch (bytes[0] & 0xF0) {
    case 0x80:
        if (!sustain.holdNoteOff(data1, data2)) noteOff(data1, data2);
        break;
    case 0x90:
        if (data2 > 0) {
            noteOn(data1, data2);
            sustain.noteStruck(data1);
        } else if (!sustain.holdNoteOff(data1, kDefaultNoteOffVelocity)) {
            noteOff(data1, kDefaultNoteOffVelocity);
        }
        break;
    case 0xB0: controlChange(data1, data2); break;
    case 0xC0:
        if (numPrograms > 0) {
            setProgram(data1 % numPrograms);
            requestRescan();  // the new program's values belong to the sub-block after the event
            if (host) host->updateDisplay();
        }
        break;
    default:
        // Pitch bend is taken and has no use here; aftertouch and system
        // messages are ignored.
        break;
    }
}

void Plug::controlChange(int32 number, int32 value) {
    switch (controllerRole(number)) {
    case ControllerRole::Ignored:
    case ControllerRole::RegisteredParameter:  // taken; nothing in this core listens
        return;
    case ControllerRole::Sustain:
        if (value >= 64) sustain.press();
        else
            sustain.lift([this](int note, int velocity) { noteOff(note, velocity); });
        return;
    case ControllerRole::AllSoundOff: resetProcessing(); return;
    case ControllerRole::AllNotesOff:
        for (int note = 0; note < SustainPedal::kNotes; ++note) noteOff(note, kDefaultNoteOffVelocity);
        sustain.clear();
        return;
    case ControllerRole::Learnable: learnableController(controllerKey(number), value); return;
    }
}

// The controller that completes a learn also moves its fresh parameter at once.
void Plug::learnableController(int32 key, int32 value) {
    completeLearn(key);
    const float v = static_cast<float>(value) * kControllerScale;
    for (std::uint32_t i = 0; i < params.size(); ++i) {
        if (params[i].controllerKey.load(std::memory_order_relaxed) != key) continue;
        setParameter(static_cast<int32>(i), v);  // the host is not told: the change is MIDI's
        requestRescan();
        return;
    }
    controllerChanged(key, v);
}

// The target is read once; it is cleared only if the UI thread has not armed
// another parameter meanwhile.
void Plug::completeLearn(int32 key) {
    std::int32_t target = learnTarget.load(std::memory_order_acquire);
    if (target < 0 || static_cast<std::uint32_t>(target) >= params.size()) return;
    params.assignController(static_cast<std::uint32_t>(target), key);
    if (auto* notify = dynamic_cast<IParamNotify*>(getEditor()))
        notify->learnFinished(static_cast<std::uint32_t>(target));
    learnTarget.compare_exchange_strong(target, -1, std::memory_order_acq_rel);
}

}  // namespace PlugCore
