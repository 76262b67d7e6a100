// Loads a VST 2.4 module by path and finds its entry point, the way a host
// does. The operating-system half lives in platform/<os>/; nothing here
// includes a system header.
//
// Threads: any, one library object per thread at a time. Ownership: the
// ModuleLibrary keeps the module mapped until it is destroyed, so every
// effect created through its entry must be closed first.
#pragma once

#include <memory>
#include <string>

#include "formats/vst2/aeffect.h"

namespace HostKit {

using EntryFunction = vst::AEffect* (*)(vst::audioMasterCallback);

class ModuleLibrary {
public:
    virtual ~ModuleLibrary() = default;

    /// The address of an exported symbol, or null.
    virtual void* symbol(const char* name) const = 0;

    /// VSTPluginMain, else the older name main; null when neither exists.
    EntryFunction entry() const;
};

/// Maps the module at path. On failure returns null and describes why in error.
std::unique_ptr<ModuleLibrary> openModule(const std::string& path, std::string& error);

}  // namespace HostKit
