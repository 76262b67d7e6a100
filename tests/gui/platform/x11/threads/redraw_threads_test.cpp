// redraw from the host's other threads: it only raises a flag that the
// editor thread's idle call acts on; no X or GL call is made anywhere else.
#include <gtest/gtest.h>

#include "x11_test_host.h"
#include "xlib_thread_guard.h"

#include <atomic>
#include <thread>

namespace WispkitTest {
namespace {

TEST(X11Threads, GuardCountsCallsFromAnotherThread) {
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    armThreadGuard();
    int before = callsFromOtherThreads();
    std::thread([display] { XFlush(display); }).join();
    EXPECT_EQ(callsFromOtherThreads(), before + 1);
    XCloseDisplay(display);
}

TEST(X11Threads, RedrawFromAnotherThreadPaintsOnTheEditorThreadOnly) {
    TestHost host;
    Editor editor(host);
    armThreadGuard();
    int before = callsFromOtherThreads();
    int drawsBefore = editor.log.draws;
    std::atomic<bool> done{false};
    std::thread automation([&] {
        for (int i = 0; i < 20000; ++i) editor.right->redraw();
        done.store(true);
    });
    while (!done.load()) editor.wrapper->idle();
    automation.join();
    editor.wrapper->idle();  // the last request, if it came after the last paint
    EXPECT_GT(editor.log.draws, drawsBefore);
    EXPECT_EQ(callsFromOtherThreads(), before);
    int settled = editor.log.draws;
    editor.settle();
    EXPECT_EQ(editor.log.draws, settled);
}

}  // namespace
}  // namespace WispkitTest
