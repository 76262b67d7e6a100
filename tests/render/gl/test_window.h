// Windows and GL contexts for the renderer's tests, one implementation per
// window system: a visible top-level window the device draws into, and a
// foreign context that stands for a host's own GL.
#pragma once

#include "render/native_window.h"

#include <memory>

namespace PaintwellTest {

class TestWindow {
public:
    TestWindow(int width, int height);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    Paintwell::NativeWindow native() const;

    struct Impl;

private:
    std::unique_ptr<Impl> impl;
};

/// A GL context of the test's own on a window of its own, like a host's.
class ForeignContext {
public:
    ForeignContext();
    ~ForeignContext();
    ForeignContext(const ForeignContext&) = delete;
    ForeignContext& operator=(const ForeignContext&) = delete;

    void makeCurrent();
    bool isCurrent() const;

    struct Impl;

private:
    std::unique_ptr<Impl> impl;
};

/// True when no GL context is current on this thread.
bool noContextCurrent();
/// Releases whatever context is current on this thread.
void releaseCurrentContext();

}  // namespace PaintwellTest
