#include <windows.h>

#include "services/platform/win32/module_handle.h"
#include "services/resources.h"

namespace Services {

// A module's resources stay mapped while it is loaded, so the bytes are handed
// out without copying. In a test executable the handle is null, which names the
// executable itself.
std::span<const unsigned char> findResource(const char* type, const char* name) {
    if (!type || !name) return {};
    HMODULE module = platform::moduleHandle();
    HRSRC info = FindResourceA(module, name, type);
    if (!info) return {};
    DWORD size = SizeofResource(module, info);
    HGLOBAL loaded = LoadResource(module, info);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return {};
    return {static_cast<const unsigned char*>(bytes), size};
}

}  // namespace Services
