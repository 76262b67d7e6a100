// An environment variable set (or removed) for the life of one object, with
// whatever was there before put back afterwards. POSIX only; tests that
// point the per-user folder or the display somewhere of their own use it.
#pragma once

#ifndef _WIN32
#include <cstdlib>
#include <string>

namespace TallowTest {

class ScopedEnv {
public:
    /// A null value removes the variable.
    ScopedEnv(const char* name, const char* value) : name(name) {
        const char* old = std::getenv(name);
        had = old != nullptr;
        if (had) saved = old;
        if (value) setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (had) setenv(name, saved.c_str(), 1);
        else
            unsetenv(name);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name;
    std::string saved;
    bool had = false;
};

}  // namespace TallowTest
#endif  // _WIN32
