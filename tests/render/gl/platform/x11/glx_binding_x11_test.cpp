// The GLX device draws only into windows whose visual is double-buffered
// RGB; anything else is refused with a check message before a context exists.
#include "gl_harness.h"

#include "render/exception.h"
#include "render/platform/glx/glx_visual.h"

#include <GL/glx.h>

using namespace Paintwell;
using namespace PaintwellTest;

namespace {

// A GL-capable RGB visual without a back buffer, if the server has one.
bool findSingleBufferedVisual(Display* display, XVisualInfo& found) {
    XVisualInfo wanted{};
    wanted.screen = DefaultScreen(display);
    wanted.c_class = TrueColor;
    int count = 0;
    XVisualInfo* list = XGetVisualInfo(display, VisualScreenMask | VisualClassMask, &wanted, &count);
    bool ok = false;
    for (int i = 0; i < count && !ok; ++i) {
        int useGL = 0, doubleBuffer = 1;
        glXGetConfig(display, &list[i], GLX_USE_GL, &useGL);
        glXGetConfig(display, &list[i], GLX_DOUBLEBUFFER, &doubleBuffer);
        if (useGL && !doubleBuffer && list[i].depth == 24) {
            found = list[i];
            ok = true;
        }
    }
    if (list) XFree(list);
    return ok;
}

}  // namespace

TEST(GlxBindingTest, WindowsWithoutABackBufferOrNoDisplayAreRefused) {
    collectReports();
    clearReports();
    auto* display = static_cast<Display*>(GLTest::sharedWindow().native().display);
    EXPECT_THROW(GLDevice(NativeWindow{nullptr, 1}), Exception);
    EXPECT_EQ(reports().size(), 1u);

    XVisualInfo visual{};
    if (!findSingleBufferedVisual(display, visual)) {
        setReportObserver(nullptr);
        GTEST_SKIP() << "the X server offers no single-buffered GL visual";
    }
    Window root = RootWindow(display, visual.screen);
    XSetWindowAttributes attributes{};
    attributes.colormap = XCreateColormap(display, root, visual.visual, AllocNone);
    Window window = XCreateWindow(display, root, 0, 0, 32, 32, 0, visual.depth, InputOutput, visual.visual, CWColormap,
                                  &attributes);
    XSync(display, False);
    clearReports();
    EXPECT_THROW(GLDevice(NativeWindow{display, window}), Exception);
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_EQ(reports()[0].text.rfind("Corvelight GL: check failed at line ", 0), 0u);
    XDestroyWindow(display, window);
    XFreeColormap(display, attributes.colormap);
    setReportObserver(nullptr);
}

namespace {

class GlxHostContextTest : public GLTest {};

}  // namespace

// A host that reads from another drawable than it draws to finds both
// current again once the device has drawn.
TEST_F(GlxHostContextTest, ASeparateReadDrawableIsGivenBack) {
    auto* display = static_cast<Display*>(window->native().display);
    XVisualInfo* visual = chooseWindowVisual(display, DefaultScreen(display));
    ASSERT_NE(visual, nullptr);
    XSetWindowAttributes attributes{};
    attributes.colormap = XCreateColormap(display, RootWindow(display, visual->screen), visual->visual, AllocNone);
    Window windows[2];
    for (Window& w : windows)
        w = XCreateWindow(display, RootWindow(display, visual->screen), 0, 0, 16, 16, 0, visual->depth, InputOutput,
                          visual->visual, CWColormap, &attributes);
    XSync(display, False);
    GLXContext host = glXCreateContext(display, visual, nullptr, True);
    XFree(visual);
    ASSERT_NE(host, nullptr);
    ASSERT_TRUE(glXMakeContextCurrent(display, windows[0], windows[1], host));

    render([](Context*) {});
    EXPECT_EQ(glXGetCurrentContext(), host);
    EXPECT_EQ(glXGetCurrentDrawable(), windows[0]);
    EXPECT_EQ(glXGetCurrentReadDrawable(), windows[1]);

    glXMakeCurrent(display, None, nullptr);
    glXDestroyContext(display, host);
    for (Window w : windows) XDestroyWindow(display, w);
    XFreeColormap(display, attributes.colormap);
}
