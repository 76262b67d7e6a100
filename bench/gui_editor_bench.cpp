// The module's editor as a Linux host drives it: loaded through the entry
// point, opened with effEditOpen inside a window of this program's own X
// connection, pumped with effEditIdle.
//
// - idle: an idle call with the editor open and nothing changing. The
//   counters give the GL calls and buffer swaps seen during the measured
//   calls (both should read 0) and the swaps seen while it opened, which
//   show that the counting works.
// - repaint: one full repaint of the editor (panel, logo, nine controls and
//   their texts), asked for by an Expose of the editor's window and done by
//   the next idle call; the label names the GL renderer that drew it.
//
// The GL calls are counted by defining the renderer's entry points here:
// the module resolves them to this program before the GL libraries, and each
// one counts and passes the call on to the library the module links. Needs an X display with GLX (run it
// through scripts/with-display.sh: Xvfb and Mesa's software renderer).
#include <benchmark/benchmark.h>

#include "formats/vst2/aeffect.h"
#include "tools/host_kit/module_library.h"

#include <dlfcn.h>

#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

long glCalls = 0;
long swaps = 0;
std::string rendererName;

// The real entry point, from the library the module itself links (GLVND's
// names for the window-system binding and for GL).
template <typename F>
F real(const char* library, const char* name) {
    void* handle = dlopen(library, RTLD_NOW | RTLD_LOCAL);
    void* found = handle != nullptr ? dlsym(handle, name) : nullptr;
    if (found == nullptr) {
        std::fprintf(stderr, "no %s in %s\n", name, library);
        std::abort();
    }
    return reinterpret_cast<F>(found);
}

constexpr const char* kGLX = "libGLX.so.0";
constexpr const char* kGL = "libOpenGL.so.0";

}  // namespace

// The entry points the renderer needs for any frame; a call to any of them
// is GL work.
extern "C" {

Bool glXMakeCurrent(Display* display, GLXDrawable drawable, GLXContext context) {
    static auto forward = real<decltype(&glXMakeCurrent)>(kGLX, "glXMakeCurrent");
    ++glCalls;
    return forward(display, drawable, context);
}

Bool glXMakeContextCurrent(Display* display, GLXDrawable draw, GLXDrawable read, GLXContext context) {
    static auto forward = real<decltype(&glXMakeContextCurrent)>(kGLX, "glXMakeContextCurrent");
    ++glCalls;
    return forward(display, draw, read, context);
}

void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    static auto forward = real<decltype(&glXSwapBuffers)>(kGLX, "glXSwapBuffers");
    ++glCalls;
    ++swaps;
    if (rendererName.empty()) {
        static auto getString = real<decltype(&glGetString)>(kGL, "glGetString");
        const GLubyte* name = getString(GL_RENDERER);
        rendererName = name != nullptr ? reinterpret_cast<const char*>(name) : "unknown";
    }
    forward(display, drawable);
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    static auto forward = real<decltype(&glViewport)>(kGL, "glViewport");
    ++glCalls;
    forward(x, y, width, height);
}

void glClear(GLbitfield mask) {
    static auto forward = real<decltype(&glClear)>(kGL, "glClear");
    ++glCalls;
    forward(mask);
}

void glBegin(GLenum mode) {
    static auto forward = real<decltype(&glBegin)>(kGL, "glBegin");
    ++glCalls;
    forward(mode);
}

void glBindTexture(GLenum target, GLuint texture) {
    static auto forward = real<decltype(&glBindTexture)>(kGL, "glBindTexture");
    ++glCalls;
    forward(target, texture);
}

}  // extern "C"

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 110;

vst::VstIntPtr quietHost(vst::AEffect*, vst::int32 opcode, vst::int32, vst::VstIntPtr, void*, float) {
    return opcode == vst::audioMasterVersion ? 2400 : 0;
}

/// The built module's entry; the module stays mapped for the whole run.
HostKit::EntryFunction loadEntry() {
    static const auto library = [] {
        std::string error;
        auto loaded = HostKit::openModule(TALLOW_BENCH_MODULE_PATH, error);
        if (loaded == nullptr || loaded->entry() == nullptr) {
            std::fprintf(stderr, "cannot load %s: %s\n", TALLOW_BENCH_MODULE_PATH,
                         loaded ? "no entry point" : error.c_str());
            std::exit(2);
        }
        return loaded;
    }();
    return library->entry();
}

// A host's plug-in window with the editor open in it, settled: the first
// paint and the first timer tick's deliveries done.
class OpenEditor {
public:
    OpenEditor() {
        const char* name = std::getenv("DISPLAY");
        if (name == nullptr || *name == 0) {
            failure = "no X display: run through scripts/with-display.sh";
            return;
        }
        display = XOpenDisplay(nullptr);
        if (display == nullptr) {
            failure = "cannot open the X display";
            return;
        }
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;
        hostWindow = XCreateWindow(display, DefaultRootWindow(display), 0, 0, kWidth, kHeight, 0, CopyFromParent,
                                   InputOutput, CopyFromParent, CWOverrideRedirect, &attributes);
        XMapRaised(display, hostWindow);
        XSync(display, False);

        effect = loadEntry()(quietHost);
        call(vst::effOpen, 0, nullptr);
        effect->dispatcher(effect, vst::effSetSampleRate, 0, 0, nullptr, 44100.0f);
        call(vst::effSetBlockSize, 512, nullptr);
        call(vst::effMainsChanged, 1, nullptr);
        void* parent = reinterpret_cast<void*>(static_cast<std::uintptr_t>(hostWindow));
        if (call(vst::effEditOpen, 0, parent) == 0 || (editorWindow = onlyChild()) == 0) {
            failure = "the editor did not open";
            return;
        }
        settle();
    }
    ~OpenEditor() {
        if (effect != nullptr) {
            call(vst::effEditClose, 0, nullptr);
            call(vst::effMainsChanged, 0, nullptr);
            call(vst::effClose, 0, nullptr);
        }
        if (display != nullptr) {
            XDestroyWindow(display, hostWindow);
            XCloseDisplay(display);
        }
    }
    OpenEditor(const OpenEditor&) = delete;
    OpenEditor& operator=(const OpenEditor&) = delete;

    void idle() { call(vst::effEditIdle, 0, nullptr); }

    // Has the server send the editor an Expose of its whole window.
    void expose() {
        XClearArea(display, editorWindow, 0, 0, 0, 0, True);
        XSync(display, False);
    }

    const char* failure = nullptr;
    long paintsWhileOpening = 0;

private:
    vst::VstIntPtr call(vst::int32 opcode, vst::VstIntPtr value, void* ptr) {
        return effect->dispatcher(effect, opcode, 0, value, ptr, 0.0f);
    }

    ::Window onlyChild() {
        ::Window root = 0, parent = 0, *children = nullptr, child = 0;
        unsigned count = 0;
        XSync(display, False);
        if (XQueryTree(display, hostWindow, &root, &parent, &children, &count) && count == 1) child = children[0];
        if (children != nullptr) XFree(children);
        return child;
    }

    // Idle calls at about 1 kHz until nothing has been painted for 200 ms.
    void settle() {
        using Clock = std::chrono::steady_clock;
        long before = swaps;
        Clock::time_point deadline = Clock::now() + std::chrono::seconds(20);
        Clock::time_point lastPaint = Clock::now();
        long seen = swaps;
        while (Clock::now() < deadline) {
            idle();
            if (swaps != seen) {
                seen = swaps;
                lastPaint = Clock::now();
            } else if (swaps != before && Clock::now() - lastPaint > std::chrono::milliseconds(200)) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        paintsWhileOpening = swaps - before;
        if (paintsWhileOpening == 0) failure = "no paint seen while the editor opened";
    }

    Display* display = nullptr;
    ::Window hostWindow = 0;
    ::Window editorWindow = 0;
    vst::AEffect* effect = nullptr;
};

void BM_EditorIdleNothingChanging(benchmark::State& state) {
    OpenEditor editor;
    if (editor.failure != nullptr) {
        state.SkipWithError(editor.failure);
        return;
    }
    long callsBefore = glCalls;
    long swapsBefore = swaps;
    for (auto _ : state) editor.idle();
    state.counters["gl_calls"] = static_cast<double>(glCalls - callsBefore);
    state.counters["swaps"] = static_cast<double>(swaps - swapsBefore);
    state.counters["swaps_opening"] = static_cast<double>(editor.paintsWhileOpening);
}
BENCHMARK(BM_EditorIdleNothingChanging)->Unit(benchmark::kMicrosecond);

// Manual time: only the idle call that paints (the Expose and the round trip
// that delivers it are outside). Should the event not be there yet, the few
// empty idle calls before it are counted, at well under a microsecond each.
void BM_EditorFullRepaint(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    OpenEditor editor;
    if (editor.failure != nullptr) {
        state.SkipWithError(editor.failure);
        return;
    }
    long swapsBefore = swaps;
    for (auto _ : state) {
        editor.expose();
        long seen = swaps;
        Clock::time_point start = Clock::now();
        Clock::time_point giveUp = start + std::chrono::seconds(2);
        while (swaps == seen && Clock::now() < giveUp) editor.idle();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        if (swaps == seen) {
            state.SkipWithError("the Expose brought no paint");
            break;
        }
    }
    state.counters["swaps_per_repaint"] =
        benchmark::Counter(static_cast<double>(swaps - swapsBefore), benchmark::Counter::kAvgIterations);
    state.SetLabel(rendererName);
}
BENCHMARK(BM_EditorFullRepaint)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
