// A small effect on the plug-in core that records what the MIDI input does
// to it: note and controller hooks, resets and every rendered sub-block, each
// stamped with the frame (within the current block) at which it happened.
// Also builds host event lists, well-formed or deliberately broken.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "core/plug.h"
#include "formats/vst2/event_list.h"
#include "support/recording_host.h"

namespace miditest {

using PlugCore::int32;

struct Call {
    enum Kind { NoteOn, NoteOff, Reset, Controller } kind;
    int32 a;  // note or key
    float b;  // velocity or value
    std::uint32_t frame;
    bool operator==(const Call&) const = default;
};

struct SubBlock {
    std::uint32_t start;
    std::uint32_t length;
    bool changed;
    std::vector<float> seen;  // each parameter's audio-side value while this sub-block rendered
};

class TestEffect : public PlugCore::Plug {
public:
    static constexpr int32 kParams = 9;
    static constexpr int32 kPrograms = 16;
    static constexpr int32 kBlock = 64;

    TestEffect() : Plug(&host, kPrograms, kParams, "Midi Test", 1, 1) {
        for (int32 i = 0; i < kParams; ++i) params.defineParameter(static_cast<std::uint32_t>(i), "p", "", 0.25f);
        setSampleRate(48000.0f);
        setBlockSize(kBlock);
        resume();
        calls.clear();
    }

    // ---- hooks ----
    void prepareProcessing() override {}
    void resetProcessing() override { calls.push_back({Call::Reset, 0, 0, position}); }
    bool renderBlock(bool changed, const PlugCore::Transport*, double**, double** outputs,
                     std::uint32_t frames) override {
        SubBlock b{position, frames, changed, {}};
        for (std::uint32_t i = 0; i < params.size(); ++i) b.seen.push_back(params[i].audioSeen.load());
        subBlocks.push_back(b);
        for (int c = 0; c < 2; ++c) std::memset(outputs[c], 0, frames * sizeof(double));
        position += frames;
        return false;
    }
    void formatParameter(std::uint32_t, char* text, float) override { text[0] = 0; }
    void noteOn(int32 note, int32 velocity) override {
        calls.push_back({Call::NoteOn, note, static_cast<float>(velocity), position});
    }
    void noteOff(int32 note, int32 velocity) override {
        calls.push_back({Call::NoteOff, note, static_cast<float>(velocity), position});
    }
    void controllerChanged(int32 key, float value) override {
        calls.push_back({Call::Controller, key, value, position});
    }

    /// Hands list to the core, as the VST 2.4 form reads it, and renders one block of frames.
    void run(vst::VstEvents* list, int32 frames = kBlock) {
        position = 0;
        subBlocks.clear();
        hand(list);
        processDoubleReplacing(in, out, frames);
    }

    /// Hands list to the core for the next block, as effProcessEvents does.
    void hand(vst::VstEvents* list) {
        events = Vst2::EventList(list);
        processEvents(&events);
    }

    /// Renders a block without handing over a list first.
    void renderWithoutNewEvents(int32 frames = kBlock) {
        position = 0;
        subBlocks.clear();
        processDoubleReplacing(in, out, frames);
    }

    int hostCalls(testing_support::RecordingHost::Kind kind) const { return host.count(kind); }
    std::vector<Call> callsOf(Call::Kind kind) const {
        std::vector<Call> r;
        for (const Call& c : calls)
            if (c.kind == kind) r.push_back(c);
        return r;
    }

    std::vector<Call> calls;
    std::vector<SubBlock> subBlocks;
    testing_support::RecordingHost host;  // every host call except the time query

private:
    Vst2::EventList events;
    std::uint32_t position = 0;
    double buffers[4][kBlock] = {};
    double* in[2] = {buffers[0], buffers[1]};
    double* out[2] = {buffers[2], buffers[3]};
};

/// An editor that hears about finished learns; onLearn runs inside the call.
class LearnEditor : public PlugCore::Editor, public PlugCore::IParamNotify {
public:
    bool parameterChanged(std::uint32_t, float) override { return true; }
    void dataReady(void*) override {}
    void learnFinished(std::uint32_t index) override {
        finished.push_back(index);
        if (onLearn) onLearn();
    }
    std::vector<std::uint32_t> finished;
    std::function<void()> onLearn;
};

/// A host event list. Events are added in list order; list() lays out the
/// VstEvents record with exactly as many pointer slots as were added.
class Events {
public:
    Events& midi(int32 frame, int status, int data1 = 0, int data2 = 0) {
        auto e = std::make_unique<vst::VstMidiEvent>();
        e->type = vst::kVstMidiType;
        e->byteSize = sizeof(vst::VstMidiEvent);
        e->deltaFrames = frame;
        e->midiData[0] = static_cast<char>(status);
        e->midiData[1] = static_cast<char>(data1);
        e->midiData[2] = static_cast<char>(data2);
        slots.push_back(reinterpret_cast<vst::VstEvent*>(e.get()));
        owned.push_back(std::move(e));
        return *this;
    }
    Events& cc(int32 frame, int number, int value, int channel = 0) {
        return midi(frame, 0xB0 | channel, number, value);
    }
    Events& hole() {
        slots.push_back(nullptr);
        return *this;
    }
    /// The most recently added event, to break it.
    vst::VstMidiEvent& last() { return *owned.back(); }

    vst::VstEvents* list() { return listWithCount(static_cast<int32>(slots.size())); }
    /// A list whose count claims count events, whatever was added.
    vst::VstEvents* listWithCount(int32 count) {
        words.assign(2 + slots.size(), 0);
        auto* l = reinterpret_cast<vst::VstEvents*>(words.data());
        l->numEvents = count;
        if (!slots.empty()) std::memcpy(words.data() + 2, slots.data(), slots.size() * sizeof(vst::VstEvent*));
        return l;
    }

private:
    static_assert(sizeof(vst::VstEvents) == 4 * sizeof(std::uint64_t) && sizeof(void*) == 8);
    std::vector<std::unique_ptr<vst::VstMidiEvent>> owned;
    std::vector<vst::VstEvent*> slots;
    std::vector<std::uint64_t> words;
};

}  // namespace miditest
