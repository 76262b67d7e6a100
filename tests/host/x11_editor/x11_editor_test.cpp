// The module's editor as a Linux host drives it: effEditOpen with a window of
// the host's, effEditIdle to pump it, effEditClose; real pointer input through
// XTest reaching the host as begin, automate and end.
#include "test_host.h"

#include "core/scoped_env.h"

#include <gtest/gtest.h>

// After the test framework: Xlib's macros (None, Bool, ...) would break it.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

using HostTest::Effect;
using HostTest::host;

// The host's window: a top-level window of the test's own connection.
class HostWindow {
public:
    HostWindow() {
        display = XOpenDisplay(nullptr);
        if (display == nullptr) return;
        XSetWindowAttributes attributes{};
        attributes.background_pixel = BlackPixel(display, DefaultScreen(display));
        attributes.override_redirect = True;  // stays where it is put, window manager or not
        id = XCreateWindow(display, DefaultRootWindow(display), kLeft, kTop, 480, 110, 0, CopyFromParent, InputOutput,
                           CopyFromParent, CWBackPixel | CWOverrideRedirect, &attributes);
        XMapRaised(display, id);
        XSync(display, False);
    }
    ~HostWindow() {
        if (display == nullptr) return;
        XDestroyWindow(display, id);
        XCloseDisplay(display);
    }
    void* handle() const { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(id)); }

    unsigned children() const {
        ::Window root = 0, parent = 0, *list = nullptr;
        unsigned count = 0;
        XSync(display, False);
        if (!XQueryTree(display, id, &root, &parent, &list, &count)) return 0;
        if (list != nullptr) XFree(list);
        return count;
    }
    // The pointer to (x, y) of the editor, then a press or release.
    void moveTo(int x, int y) {
        XTestFakeMotionEvent(display, DefaultScreen(display), kLeft + x, kTop + y, 0);
        XSync(display, False);
    }
    void button(unsigned number, bool down) {
        XTestFakeButtonEvent(display, number, down ? True : False, 0);
        XSync(display, False);
    }
    // Pixels of the editor's area that are not black.
    int litPixels() {
        XImage* image = XGetImage(display, id, 0, 0, 480, 110, AllPlanes, ZPixmap);
        if (image == nullptr) return 0;
        int lit = 0;
        for (int y = 0; y < 110; ++y)
            for (int x = 0; x < 480; ++x) lit += (XGetPixel(image, x, y) & 0xFFFFFF) != 0;
        XDestroyImage(image);
        return lit;
    }

    // The pointer's picture as the server shows it now.
    std::vector<unsigned long> cursor() {
        XFixesCursorImage* image = XFixesGetCursorImage(display);
        if (image == nullptr) return {};
        std::vector<unsigned long> pixels{image->width, image->height};
        pixels.insert(pixels.end(), image->pixels, image->pixels + std::size_t{image->width} * image->height);
        XFree(image);
        return pixels;
    }

    static constexpr int kLeft = 40;
    static constexpr int kTop = 40;
    Display* display = nullptr;
    ::Window id = 0;
};

void idleFor(const Effect& effect, int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        effect.dispatch(vst::effEditIdle);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

int openDescriptors() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
    return count;
}

std::string automate(int index, float value) {
    char text[64];
    std::snprintf(text, sizeof text, "automate %d %.4f", index, value);
    return text;
}

// The host's record of edit gestures, one line per call.
std::vector<std::string> gestures() {
    std::vector<std::string> calls;
    for (const auto& call : host().calls) {
        char text[64];
        if (call.opcode == vst::audioMasterBeginEdit) std::snprintf(text, sizeof text, "begin %d", call.index);
        else if (call.opcode == vst::audioMasterEndEdit)
            std::snprintf(text, sizeof text, "end %d", call.index);
        else if (call.opcode == vst::audioMasterAutomate)
            std::snprintf(text, sizeof text, "%s", automate(call.index, call.opt).c_str());
        else
            continue;
        calls.push_back(text);
    }
    return calls;
}

class X11Editor : public ::testing::Test {
protected:
    TallowTest::ScopedEnv config{"XDG_CONFIG_HOME", TALLOW_EDITOR_CONFIG};
    void SetUp() override {
        host().reset();
        if (window.display == nullptr) GTEST_SKIP() << "no X display";
    }
    HostWindow window;
};

TEST_F(X11Editor, OpensPaintsAndClosesAHundredTimesWithoutLeaks) {
    Effect effect;
    effect.start();
    const int descriptors = openDescriptors();
    ::testing::internal::CaptureStderr();  // everything the module writes to stderr meanwhile
    int painted = 0;
    for (int round = 0; round < 100; ++round) {
        ASSERT_EQ(effect.dispatch(vst::effEditOpen, 0, 0, window.handle()), 1);
        EXPECT_EQ(effect.dispatch(vst::effEditOpen, 0, 0, window.handle()), 1);  // already open: nothing new
        idleFor(effect, round == 0 ? 300 : 20);
        EXPECT_EQ(window.children(), 1u);
        if (round == 0) painted = window.litPixels();
        effect.dispatch(vst::effEditClose);
        EXPECT_EQ(window.children(), 0u);  // the editor's close ends its window on X11
    }
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_GT(painted, 480 * 110 / 2);  // the panel covers the window
    EXPECT_EQ(errors.find("leak"), std::string::npos) << errors;
    EXPECT_EQ(openDescriptors(), descriptors);  // every display connection closed again
}

TEST_F(X11Editor, KnobDragSwitchClickAndMenuWheelReachTheHostAsGestures) {
    Effect effect;
    effect.start();
    const float depth = effect->getParameter(effect.get(), 2);
    const float shape = effect->getParameter(effect.get(), 6);
    ASSERT_EQ(effect.dispatch(vst::effEditOpen, 0, 0, window.handle()), 1);
    idleFor(effect, 300);

    window.moveTo(206, 60);  // the "depth" knob, inside its circle
    idleFor(effect, 30);
    window.button(1, true);
    idleFor(effect, 30);
    window.moveTo(206, 20);  // 40 pixels up: a tenth of the range
    idleFor(effect, 30);
    window.button(1, false);
    idleFor(effect, 30);

    window.moveTo(206, 96);  // the "shape" switch
    idleFor(effect, 30);
    window.button(1, true);
    window.button(1, false);
    idleFor(effect, 50);

    const float range = effect->getParameter(effect.get(), 8);
    window.moveTo(98, 96);  // the "range" menu button: one wheel notch towards the user
    idleFor(effect, 30);
    window.button(5, true);
    window.button(5, false);
    idleFor(effect, 50);
    effect.dispatch(vst::effEditClose);
    const float next = std::min(3.0f, std::floor(std::min(3.0f, 4.0f * range)) + 1.0f) / 3.0f;

    EXPECT_EQ(gestures(), (std::vector<std::string>{"begin 2", automate(2, std::min(1.0f, depth + 0.1f)), "end 2",
                                                    "begin 6", automate(6, shape > 0.5f ? 0.0f : 1.0f), "end 6",
                                                    "begin 8", automate(8, next), "end 8"}));
}

TEST_F(X11Editor, PointerIsAHandOverAKnobAndTheArrowAgainOffIt) {
    Effect effect;
    ASSERT_EQ(effect.dispatch(vst::effEditOpen, 0, 0, window.handle()), 1);
    idleFor(effect, 200);
    window.moveTo(260, 96);  // the panel between the two switches
    idleFor(effect, 30);
    const std::vector<unsigned long> arrow = window.cursor();
    window.moveTo(206, 44);  // the centre of the "depth" knob
    idleFor(effect, 30);
    EXPECT_NE(window.cursor(), arrow);
    window.moveTo(260, 96);
    idleFor(effect, 30);
    EXPECT_EQ(window.cursor(), arrow);
    effect.dispatch(vst::effEditClose);
}

TEST_F(X11Editor, KeysTypedWithThePointerOverTheEditorReachTheHost) {
    Effect effect;
    ASSERT_EQ(effect.dispatch(vst::effEditOpen, 0, 0, window.handle()), 1);
    idleFor(effect, 200);
    XSelectInput(window.display, window.id, KeyPressMask);
    XSetInputFocus(window.display, window.id, RevertToParent, CurrentTime);
    window.moveTo(206, 44);  // over the "depth" knob
    idleFor(effect, 30);
    const KeyCode space = XKeysymToKeycode(window.display, XStringToKeysym("space"));
    XTestFakeKeyEvent(window.display, space, True, 0);
    XTestFakeKeyEvent(window.display, space, False, 0);
    XSync(window.display, False);
    idleFor(effect, 30);
    XEvent event;
    EXPECT_TRUE(XCheckTypedWindowEvent(window.display, window.id, KeyPress, &event));  // the host's shortcut
    effect.dispatch(vst::effEditClose);
}

TEST_F(X11Editor, WorksOpenedBeforeResumeWhileAudioRunsAndAfterSuspend) {
    Effect effect;
    ASSERT_EQ(effect.dispatch(vst::effEditOpen, 0, 0, window.handle()), 1);
    idleFor(effect, 200);
    effect.start();
    std::atomic<bool> stop{false};
    std::thread audio([&] {
        HostTest::Stereo<float> in(512), out(512);
        for (int n = 0; !stop.load(); ++n) {
            effect->setParameter(effect.get(), 0, static_cast<float>(n % 100) / 100.0f);  // host automation
            effect->processReplacing(effect.get(), in.channels(), out.channels(), 512);
        }
    });
    idleFor(effect, 300);
    stop.store(true);
    audio.join();
    effect.dispatch(vst::effMainsChanged, 0, 0);
    host().calls.clear();

    const float rate = effect->getParameter(effect.get(), 1);
    window.moveTo(132, 60);  // the "rate" knob
    idleFor(effect, 30);
    window.button(1, true);
    idleFor(effect, 30);
    window.moveTo(132, 100);  // 40 pixels down
    idleFor(effect, 30);
    window.button(1, false);
    idleFor(effect, 30);
    effect.dispatch(vst::effEditClose);
    EXPECT_EQ(gestures(), (std::vector<std::string>{"begin 1", automate(1, std::max(0.0f, rate - 0.1f)), "end 1"}));
}

}  // namespace
