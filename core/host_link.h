// HostLink: everything the core and the editor tell a host, whichever plug-in
// format carries it. Each format implements it once; the core holds a pointer
// and never learns which format is on the other side.
//
// Threads: beginEdit, endEdit and automate come from the host's UI thread
// (the editor, state loads); updateDisplay and getTime from its audio thread
// (a MIDI program change, the start of every process call).
// Ownership: the format owns its link and keeps it alive as long as the core.
#pragma once

#include <cstdint>

namespace PlugCore {

/// What a host reports of its transport for one process call. The flags say
/// which of the other fields it filled in.
struct HostTime {
    bool tempoValid = false;
    double tempo = 0.0;  // beats per minute
    bool playing = false;
    bool positionValid = false;
    double ppqPosition = 0.0;  // quarter notes
};

class HostLink {
public:
    /// The editor starts a gesture on parameter index (a drag, a click).
    virtual void beginEdit(std::int32_t index) = 0;
    /// The editor's gesture on index is over.
    virtual void endEdit(std::int32_t index) = 0;
    /// index was set to value (as given, before quantising) by the editor or by
    /// a state load, and the host should hear of it.
    virtual void automate(std::int32_t index, float value) = 0;
    /// Many values changed at once inside the effect (a program change).
    virtual void updateDisplay() = 0;
    /// Fills time and answers true when the host gave transport information.
    virtual bool getTime(HostTime& time) = 0;

protected:
    ~HostLink() = default;
};

}  // namespace PlugCore
