#include <dlfcn.h>

#include "tools/host_kit/module_library.h"

namespace HostKit {
namespace {

class PosixLibrary final : public ModuleLibrary {
public:
    explicit PosixLibrary(void* handle) : handle(handle) {}
    ~PosixLibrary() override { dlclose(handle); }
    PosixLibrary(const PosixLibrary&) = delete;
    PosixLibrary& operator=(const PosixLibrary&) = delete;

    void* symbol(const char* name) const override { return dlsym(handle, name); }

private:
    void* handle;
};

}  // namespace

std::unique_ptr<ModuleLibrary> openModule(const std::string& path, std::string& error) {
    // A bare file name would make dlopen search the library path instead of
    // opening the file the user named.
    std::string where = path.find('/') == std::string::npos ? "./" + path : path;
    // RTLD_LOCAL keeps the module's symbols from resolving anyone else's.
    // RTLD_NODELETE keeps its code mapped after dlclose: a module may leave
    // exit handlers or runtime memory behind that still point into it.
    void* handle = dlopen(where.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!handle) {
        const char* reason = dlerror();
        error = reason ? reason : "unknown loader error";
        return nullptr;
    }
    return std::make_unique<PosixLibrary>(handle);
}

}  // namespace HostKit
