// The wrapper's window over its life: what it draws, that an idle call with
// nothing to do does nothing, painting only while shown, the timer, and
// closing, also after the host destroyed its window first.
#include <gtest/gtest.h>

#include "x11_test_host.h"

#include "gui/platform/x11/x11_error_trap.h"
#include "gui/platform/x11/x11_window.h"

#include <X11/Xutil.h>
#include <dirent.h>

namespace WispkitTest {
namespace {

unsigned long pixelAt(Display* display, ::Window window, int x, int y) {
    XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) return ~0ul;
    unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFFul;
    XDestroyImage(image);
    return pixel;
}

TEST(X11Window, PadsShowTheirColoursInTheWindow) {
    TestHost host;
    Editor editor(host);
    ::Window window = editor.wrapper->nativeHandle();
    EXPECT_TRUE(editor.pumpUntil([&] { return pixelAt(host.display, window, 90, 70) == 0x3070C0; }));
    EXPECT_EQ(pixelAt(host.display, window, 270, 70), 0xC05030u);
    EXPECT_NE(pixelAt(host.display, window, 180, 70), 0x3070C0u);  // between the pads

    editor.left->colour = 0xFF10E020;
    editor.left->redraw();
    EXPECT_TRUE(editor.pumpUntil([&] { return pixelAt(host.display, window, 21, 119) == 0x10E020; }));
}

TEST(X11Window, IdleCallsWithNothingToDoNeitherDrawNorTalkToTheServer) {
    TestHost host;
    Editor editor(host);
    editor.settle();
    Wispkit::platform::Window* native = editor.wrapper->nativeWindow();
    int draws = editor.log.draws;
    unsigned long requests = NextRequest(native->display);
    for (int i = 0; i < 2000; ++i) editor.wrapper->idle();
    EXPECT_EQ(editor.log.draws, draws);
    EXPECT_EQ(NextRequest(native->display), requests);

    // Many requests before one idle call: one paint (both pads once).
    for (int i = 0; i < 5; ++i) editor.left->redraw();
    editor.wrapper->idle();
    EXPECT_EQ(editor.log.draws, draws + 2);

    // Hidden by the host: requests are dropped until it shows again.
    XUnmapWindow(host.display, host.parent);
    host.flush();
    editor.settle();
    draws = editor.log.draws;
    editor.left->redraw();
    editor.settle();
    EXPECT_EQ(editor.log.draws, draws);
    XMapRaised(host.display, host.parent);
    host.flush();
    EXPECT_TRUE(editor.pumpUntil([&] { return editor.log.draws > draws; }));
}

TEST(X11Window, TimerRunsFromIdleCallsAtMostEveryTenMilliseconds) {
    TestHost host;
    Editor editor(host);
    editor.wrapper->setTimerTarget(&editor);
    ASSERT_TRUE(editor.pumpUntil([&] { return editor.ticks.size() >= 5; }));
    // The pump reads its clock before it calls the target and the target
    // reads the time after, so two stamps may lie a little under 10 ms apart;
    // a tick on every idle call would leave them microseconds apart.
    for (std::size_t i = 1; i < editor.ticks.size(); ++i)
        EXPECT_GE(editor.ticks[i] - editor.ticks[i - 1], std::chrono::milliseconds(9));
    editor.wrapper->setTimerTarget(nullptr);
    std::size_t stopped = editor.ticks.size();
    editor.settle();
    EXPECT_EQ(editor.ticks.size(), stopped);
}

int errorsSeen = 0;
int countingHandler(Display*, XErrorEvent*) {
    ++errorsSeen;
    return 0;
}

TEST(X11Window, ClosingAfterTheHostDestroyedItsWindowLeavesTheProcessAndHandlerAlone) {
    XErrorHandler before = XSetErrorHandler(countingHandler);
    errorsSeen = 0;
    for (bool idleBetween : {false, true}) {
        TestHost host;
        Editor editor(host);
        editor.left->redraw();
        editor.wrapper->idle();  // a device with its textures exists
        XDestroyWindow(host.display, host.parent);
        host.flush();
        if (idleBetween) editor.settle(3);
        editor.left->redraw();
        editor.close();
        EXPECT_EQ(editor.destroyed, 1);
        host.parent = XCreateSimpleWindow(host.display, DefaultRootWindow(host.display), 0, 0, 1, 1, 0, 0, 0);
    }
    EXPECT_EQ(errorsSeen, 0);
    XErrorHandler current = XSetErrorHandler(before);
    EXPECT_EQ(current, countingHandler);
}

TEST(X11Window, OnlyTheWrappersOwnConnectionsErrorsAreDropped) {
    XErrorHandler before = XSetErrorHandler(countingHandler);
    errorsSeen = 0;
    Display* ours = XOpenDisplay(nullptr);
    Display* hosts = XOpenDisplay(nullptr);
    Wispkit::platform::catchErrors(ours);
    Wispkit::platform::ErrorTrap trap(ours);
    XDestroyWindow(hosts, 0x1234567);  // the host's errors reach its handler
    XSync(hosts, False);
    EXPECT_EQ(errorsSeen, 1);
    EXPECT_FALSE(trap.failed());
    XDestroyWindow(ours, 0x1234567);
    XGetGeometry(ours, 0x1234567, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);  // a round trip
    EXPECT_TRUE(trap.failed());
    EXPECT_EQ(errorsSeen, 1);
    EXPECT_EQ(XSetErrorHandler(before), countingHandler);
    Wispkit::platform::forgetErrors(ours);
    XCloseDisplay(hosts);
    XCloseDisplay(ours);
}

int openDescriptors() {
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir) != nullptr) ++count;
        closedir(dir);
    }
    return count;
}

TEST(X11Window, HundredOpenCloseRoundsLeaveNoConnectionOrWindow) {
    TestHost host;
    { Editor warmUp(host); }  // the GL driver's own one-time files
    int descriptors = openDescriptors();
    for (int i = 0; i < 100; ++i) {
        Editor editor(host);
        editor.close();
    }
    EXPECT_EQ(openDescriptors(), descriptors);
    ::Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    XQueryTree(host.display, host.parent, &root, &parent, &children, &count);
    if (children != nullptr) XFree(children);
    EXPECT_EQ(count, 0u);
}

}  // namespace
}  // namespace WispkitTest
