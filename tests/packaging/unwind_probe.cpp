// A module linked as the shipped ones are, with the C++ runtime inside it and
// its own object lookup: it throws through frames that hold objects to
// destroy and catches the exception, which works only when the module's
// unwinder finds the module's exception data.
#include <stdexcept>
#include <string>

namespace {

int destroyed = 0;

struct Counted {
    ~Counted() { ++destroyed; }
};

[[gnu::noinline]] int descend(int depth) {
    Counted counted;
    const std::string where = "depth " + std::to_string(depth);
    if (depth == 0) throw std::runtime_error(where);
    return descend(depth - 1) + 1;
}

}  // namespace

/// How many frames the exception unwound (depth + 1), or -1 when nothing was thrown.
extern "C" __attribute__((visibility("default"))) int unwindProbe(int depth) {
    destroyed = 0;
    try {
        descend(depth);
    } catch (const std::runtime_error& e) {
        return std::string(e.what()) == "depth 0" ? destroyed : -2;
    }
    return -1;
}
