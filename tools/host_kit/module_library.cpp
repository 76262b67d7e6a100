#include "tools/host_kit/module_library.h"

namespace HostKit {

EntryFunction ModuleLibrary::entry() const {
    for (const char* name : {"VSTPluginMain", "main"})
        if (void* address = symbol(name)) return reinterpret_cast<EntryFunction>(address);
    return nullptr;
}

}  // namespace HostKit
