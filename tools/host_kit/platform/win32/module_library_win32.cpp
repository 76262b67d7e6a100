#include <windows.h>

#include <cstdio>

#include "tools/host_kit/module_library.h"

namespace HostKit {
namespace {

class Win32Library final : public ModuleLibrary {
public:
    explicit Win32Library(HMODULE handle) : handle(handle) {}
    ~Win32Library() override { FreeLibrary(handle); }
    Win32Library(const Win32Library&) = delete;
    Win32Library& operator=(const Win32Library&) = delete;

    void* symbol(const char* name) const override { return reinterpret_cast<void*>(GetProcAddress(handle, name)); }

private:
    HMODULE handle;
};

}  // namespace

std::unique_ptr<ModuleLibrary> openModule(const std::string& path, std::string& error) {
    HMODULE handle = LoadLibraryA(path.c_str());
    if (!handle) {
        char text[64];
        std::snprintf(text, sizeof text, "LoadLibrary failed with error %lu", GetLastError());
        error = text;
        return nullptr;
    }
    return std::make_unique<Win32Library>(handle);
}

}  // namespace HostKit
