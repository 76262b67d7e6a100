#include "gui/platform/x11/x11_error_trap.h"

#include <mutex>
#include <vector>

// The error converter's declaration, from Xlib's interface for extensions.
#include <X11/Xlibint.h>
#undef CursorShape
#undef min
#undef max

namespace Wispkit::platform {

namespace {

struct Count {
    Display* display;
    unsigned long errors;
};

// Displays of several editors may live on several threads.
std::mutex countMutex;
std::vector<Count> counts;

Count* find(Display* display) {
    for (Count& c : counts)
        if (c.display == display) return &c;
    return nullptr;
}

Bool dropError(Display* display, XErrorEvent*, xError*) {
    std::lock_guard<std::mutex> lock(countMutex);
    if (Count* c = find(display)) ++c->errors;
    return False;  // no handler hears of it
}

unsigned long errorCount(Display* display) {
    std::lock_guard<std::mutex> lock(countMutex);
    Count* c = find(display);
    return c != nullptr ? c->errors : 0;
}

}  // namespace

void catchErrors(Display* display) {
    {
        std::lock_guard<std::mutex> lock(countMutex);
        if (find(display) == nullptr) counts.push_back(Count{display, 0});
    }
    for (int code = 1; code < 256; ++code) XESetWireToError(display, code, dropError);
}

void forgetErrors(Display* display) {
    std::lock_guard<std::mutex> lock(countMutex);
    if (Count* c = find(display)) counts.erase(counts.begin() + (c - counts.data()));
}

ErrorTrap::ErrorTrap(Display* display) : display(display), errorsAtStart(errorCount(display)) {}

bool ErrorTrap::failed() {
    XSync(display, False);
    return errorCount(display) != errorsAtStart;
}

}  // namespace Wispkit::platform
