// The sustain pedal's memory: while the pedal is down, note-offs are held
// back per note and delivered when it comes up. The state starts cleared and
// is never saved.
//
// Threads: audio thread only. Ownership: a plain value inside PlugCore::Plug.
#pragma once

#include <array>
#include <cstdint>

namespace PlugCore {

class SustainPedal {
public:
    static constexpr int kNotes = 128;
    /// Marks a note with no held note-off (any value of 0x80 or more does).
    static constexpr std::uint8_t kNone = 0xFF;

    SustainPedal() { held_.fill(kNone); }

    bool isDown() const { return down_; }
    void press() { down_ = true; }

    /// While the pedal is down, keeps velocity as the note's pending note-off
    /// and answers true; with the pedal up answers false: the note-off goes out now.
    bool holdNoteOff(int note, int velocity) {
        if (!down_) return false;
        held_[note & 0x7F] = static_cast<std::uint8_t>(velocity & 0x7F);
        return true;
    }

    /// A note struck again forgets the note-off held for it.
    void noteStruck(int note) { held_[note & 0x7F] = kNone; }

    /// The velocity of the note-off held for note, or kNone.
    std::uint8_t heldNoteOff(int note) const { return held_[note & 0x7F]; }

    /// Lifts the pedal. If it was down, release(note, velocity) is called for
    /// every held note-off, in note order, and each is forgotten.
    template <class Release>
    void lift(Release&& release) {
        if (down_) {
            for (int note = 0; note < kNotes; ++note) {
                if (held_[note] >= 0x80) continue;
                const int velocity = held_[note];
                held_[note] = kNone;
                release(note, velocity);
            }
        }
        down_ = false;
    }

    /// Lifts the pedal and forgets every held note-off without releasing it
    /// (all notes off has already silenced them).
    void clear() {
        down_ = false;
        held_.fill(kNone);
    }

private:
    bool down_ = false;
    std::array<std::uint8_t, kNotes> held_;
};

}  // namespace PlugCore
