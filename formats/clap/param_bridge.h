// How the effect's parameters look to a CLAP host. Ids are the parameter
// indices, which the stored state already fixes forever. The continuous
// parameters show the stored value itself (0 to 1), so a host that shows raw
// numbers shows what the VST 2.4 form stores; a parameter of n choices is
// stepped from 0 to n - 1 (an enumeration from three choices on), each step
// storing what the editor's switch or menu stores for it.
//
// Threads: info and texts on the main thread; toHost and fromHost on any
// thread (the audio thread included): they neither allocate nor format.
// Ownership: borrows the effect, which outlives the bridge.
#pragma once

#include <cstdint>

#include "core/plug.h"
#include "formats/clap/api/clap.h"

namespace Clap {

class ParamBridge {
public:
    explicit ParamBridge(PlugCore::Plug& plug) : plug(plug) {}

    std::uint32_t count() const { return plug.parameters().size(); }
    bool contains(clap::clap_id id) const { return id < count(); }
    bool info(std::uint32_t index, clap::clap_param_info_t& out) const;
    /// The host's value for a stored one.
    double toHost(std::uint32_t index, float stored) const;
    /// The value the effect stores for a host value, quantised as any write is.
    float fromHost(std::uint32_t index, double value) const;
    /// The display text and label of a host value, as the VST 2.4 form shows it.
    bool toText(std::uint32_t index, double value, char* text, std::uint32_t capacity) const;
    /// What a musician typed, as a host value; false when it cannot be read.
    bool fromText(std::uint32_t index, const char* text, double& value) const;

private:
    PlugCore::Plug& plug;
};

}  // namespace Clap
