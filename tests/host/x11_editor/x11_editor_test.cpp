// The module's editor as a Linux host drives it: effEditOpen with a window of
// the host's, effEditIdle to pump it, effEditClose; real pointer input through
// XTest reaching the host as begin, automate and end; the defaults question
// answered on the idle calls while the host stays in charge of its thread.
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
#include <functional>
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
    explicit HostWindow(bool shown = true) {
        display = XOpenDisplay(nullptr);
        if (display == nullptr) return;
        // Top-level windows of the module come and go while the test looks
        // at them; a question about one already gone is no failure.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        XSetWindowAttributes attributes{};
        attributes.background_pixel = BlackPixel(display, DefaultScreen(display));
        attributes.override_redirect = True;  // stays where it is put, window manager or not
        id = XCreateWindow(display, DefaultRootWindow(display), kLeft, kTop, 480, 110, 0, CopyFromParent, InputOutput,
                           CopyFromParent, CWBackPixel | CWOverrideRedirect, &attributes);
        if (shown) show();
        XSync(display, False);  // the window exists before the module's own connection names it
    }
    void show() {
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
    void tap(const char* key) {
        const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(key));
        XTestFakeKeyEvent(display, code, True, 0);
        XTestFakeKeyEvent(display, code, False, 0);
        XSync(display, False);
    }
    // Pixels of the editor's area that are not black.
    int litPixels() {
        int lit = 0;
        for (unsigned long pixel : pixels(id, 480, 110)) lit += pixel != 0;
        return lit;
    }
    std::vector<unsigned long> pixels(::Window of, int width, int height) {
        XImage* image = XGetImage(display, of, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                                  AllPlanes, ZPixmap);
        std::vector<unsigned long> all;
        if (image == nullptr) return all;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) all.push_back(XGetPixel(image, x, y) & 0xFFFFFF);
        XDestroyImage(image);
        return all;
    }

    // The top-level windows on the screen; with transientOnly, only those
    // transient for this one.
    std::vector<::Window> topLevels(bool transientOnly = true) {
        std::vector<::Window> found;
        ::Window root = 0, parent = 0, *list = nullptr, owner = 0;
        unsigned count = 0;
        XSync(display, False);
        if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &list, &count)) return found;
        for (unsigned i = 0; i < count; ++i) {
            XWindowAttributes attributes;
            if ((!transientOnly || (XGetTransientForHint(display, list[i], &owner) && owner == id)) &&
                XGetWindowAttributes(display, list[i], &attributes) && attributes.map_state == IsViewable)
                found.push_back(list[i]);
        }
        if (list != nullptr) XFree(list);
        return found;
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

using Clock = std::chrono::steady_clock;

// Idle calls until done answers true (false after 5 s); the longest single
// call is kept, since a call that waits for a person holds the host.
bool idleUntil(const Effect& effect, const std::function<bool()>& done, Clock::duration* longest = nullptr) {
    const auto end = Clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (Clock::now() > end) return false;
        const auto start = Clock::now();
        effect.dispatch(vst::effEditIdle);
        if (longest != nullptr) *longest = std::max(*longest, Clock::now() - start);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
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

TEST_F(X11Editor, PointerIsAHandOverAKnobTheArrowOffItAndTheHandAgainAfterADrag) {
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

    // A drag shows the double arrow; a release over the knob brings the
    // hand back without the pointer moving.
    window.moveTo(206, 44);
    idleFor(effect, 30);
    const std::vector<unsigned long> hand = window.cursor();
    window.button(1, true);
    idleFor(effect, 30);
    window.moveTo(206, 40);
    idleFor(effect, 30);
    EXPECT_NE(window.cursor(), hand);
    window.button(1, false);
    idleFor(effect, 30);
    EXPECT_EQ(window.cursor(), hand);
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

// The defaults menu's "Save defaults..." question, opened as a musician
// does: the logo at x, then the item's key. Returns the question's window.
::Window openSaveQuestion(const Effect& effect, HostWindow& window, Clock::duration* longest, int x = 470) {
    window.moveTo(x, 100);  // the logo
    window.button(1, true);
    window.button(1, false);
    idleFor(effect, 100);
    window.tap("s");
    ::Window question = 0;
    idleUntil(
        effect,
        [&] {
            std::vector<::Window> found = window.topLevels();
            question = found.empty() ? 0 : found.front();
            return question != 0;
        },
        longest);
    return question;
}

// The centre of the button drawn in the accent colour (the default, OK) in
// the bottom band of the question, where the buttons are; (-1, -1) when none.
std::pair<int, int> defaultButton(HostWindow& window, ::Window question) {
    XWindowAttributes a;
    XGetWindowAttributes(window.display, question, &a);
    const std::vector<unsigned long> pixels = window.pixels(question, a.width, a.height);
    int left = a.width, right = -1, top = a.height, bottom = -1;
    for (int y = a.height / 2; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            if (pixels[static_cast<std::size_t>(y * a.width + x)] == 0xE1804F) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    if (right < 0) return {-1, -1};
    int screenX = 0, screenY = 0;
    ::Window child = 0;
    XTranslateCoordinates(window.display, question, DefaultRootWindow(window.display), (left + right) / 2,
                          (top + bottom) / 2, &screenX, &screenY, &child);
    return {screenX - HostWindow::kLeft, screenY - HostWindow::kTop};
}

// What froze a host: the editor's question left open while the host closes
// the editor. The question is a window of the editor's own, the idle calls
// return at once, clicks on the editor meanwhile are dropped for good, and
// only OK writes the defaults.
TEST_F(X11Editor, DefaultsQuestionNeverHoldsTheHostAndOnlyOkSaves) {
    const std::filesystem::path file = std::filesystem::path(TALLOW_EDITOR_CONFIG) / "Corvelight/Tallow Reed.defaults";
    std::filesystem::remove(file);
    Effect effect;
    effect.start();
    const auto open = [&] {
        ASSERT_EQ(effect.dispatch(vst::effEditOpen, 0, 0, window.handle()), 1);
        idleFor(effect, 300);
    };
    Clock::duration longest{};

    open();
    const ::Window question = openSaveQuestion(effect, window, &longest);
    ASSERT_NE(question, 0u) << "no question window transient for the host's";
    EXPECT_TRUE(host().prompts.empty());  // nothing asked through a dialog the thread waits for
    XWindowAttributes a;
    ASSERT_TRUE(XGetWindowAttributes(window.display, question, &a));
    int qx = 0, qy = 0;
    ::Window child = 0;
    XTranslateCoordinates(window.display, question, DefaultRootWindow(window.display), 0, 0, &qx, &qy, &child);
    EXPECT_NEAR(qx + a.width / 2, HostWindow::kLeft + 240, 1);  // centred over the editor
    EXPECT_GE(qy, 0);
    const auto start = Clock::now();
    effect.dispatch(vst::effEditClose);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_EQ(window.children(), 0u);
    EXPECT_TRUE(window.topLevels().empty());
    EXPECT_EQ(XGrabPointer(window.display, window.id, False, 0, GrabModeAsync, GrabModeAsync, None, None, CurrentTime),
              GrabSuccess);  // nothing of the editor holds the pointer
    XUngrabPointer(window.display, CurrentTime);
    EXPECT_FALSE(std::filesystem::exists(file));

    open();
    const ::Window again = openSaveQuestion(effect, window, &longest);
    ASSERT_NE(again, 0u);
    host().calls.clear();
    // Where the question leaves the editor uncovered: the "delay" knob
    // dragged and turned, the logo clicked (no second menu opens).
    XWindowAttributes q;
    ASSERT_TRUE(XGetWindowAttributes(window.display, again, &q));
    XTranslateCoordinates(window.display, again, window.id, 0, 0, &qx, &qy, &child);
    ASSERT_TRUE(qx > 62 && qx + q.width < 460) << "the question covers the points below";
    const std::size_t windowsBefore = window.topLevels(false).size();
    window.moveTo(58, 60);
    window.button(1, true);
    window.moveTo(58, 20);
    window.button(1, false);
    window.button(4, true);
    window.button(4, false);
    window.moveTo(470, 100);
    window.button(1, true);
    window.button(1, false);
    idleFor(effect, 100);
    EXPECT_EQ(window.topLevels(false).size(), windowsBefore);
    // The host hides its window (a closed plug-in window) and shows it
    // again: the question goes and comes back with it.
    XUnmapWindow(window.display, window.id);
    EXPECT_TRUE(idleUntil(
        effect, [&] { return window.topLevels().empty(); }, &longest));
    window.show();
    EXPECT_TRUE(idleUntil(
        effect, [&] { return !window.topLevels().empty(); }, &longest));
    idleFor(effect, 100);
    const auto [okX, okY] = defaultButton(window, again);
    ASSERT_GE(okX, 0) << "no button in the accent colour";
    window.moveTo(okX, okY);
    window.button(1, true);
    window.button(1, false);
    EXPECT_TRUE(idleUntil(
        effect, [&] { return std::filesystem::exists(file); }, &longest));
    EXPECT_TRUE(window.topLevels().empty());
    idleFor(effect, 100);
    EXPECT_TRUE(gestures().empty());  // nothing queued meanwhile came back

    std::filesystem::remove(file);
    ASSERT_NE(openSaveQuestion(effect, window, &longest, 460), 0u);  // not a double click on the logo
    window.tap("Escape");
    EXPECT_TRUE(idleUntil(
        effect, [&] { return window.topLevels().empty(); }, &longest));
    idleFor(effect, 100);
    EXPECT_FALSE(std::filesystem::exists(file));
    effect.dispatch(vst::effEditClose);
    EXPECT_LT(longest, std::chrono::milliseconds(500));
}

// The editor opened while the host's window is still hidden, as hosts do:
// when the host shows it, the server fills the editor with the panel's dark
// colour rather than black, and the first idle call puts the panel itself
// on the screen, with no further call.
TEST(X11EditorShow, FirstIdleAfterTheHostShowsItsWindowPutsThePanelOnTheScreen) {
    host().reset();
    HostWindow window(false);
    if (window.display == nullptr) GTEST_SKIP() << "no X display";
    Effect effect;
    ASSERT_EQ(effect.dispatch(vst::effEditOpen, 0, 0, window.handle()), 1);
    idleFor(effect, 50);
    window.show();
    EXPECT_EQ(window.litPixels(), 480 * 110);  // no black before our first frame
    const std::vector<unsigned long> backdrop = window.pixels(window.id, 480, 110);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the exposure reaches the module's connection
    effect.dispatch(vst::effEditIdle);
    std::vector<unsigned long> first;
    const auto end = Clock::now() + std::chrono::seconds(2);
    do {
        first = window.pixels(window.id, 480, 110);
    } while (first == backdrop && Clock::now() < end);
    idleFor(effect, 300);
    const std::vector<unsigned long> settled = window.pixels(window.id, 480, 110);
    effect.dispatch(vst::effEditClose);
    ASSERT_EQ(first.size(), settled.size());
    int same = 0;
    for (std::size_t i = 0; i < first.size(); ++i) same += first[i] == settled[i];
    EXPECT_GT(same, static_cast<int>(first.size()) * 99 / 100);
}

}  // namespace
