// The GLX device draws only into windows whose visual is double-buffered
// RGB; anything else is refused with a check message before a context exists.
#include "gl_harness.h"

#include "render/exception.h"

#include <GL/glx.h>

using namespace Paintwell;
using namespace PaintwellTest;

namespace {

// A GL-capable RGB visual without a back buffer, if the server has one.
bool findSingleBufferedVisual(Display* display, XVisualInfo& found)
{
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
    if (list)
        XFree(list);
    return ok;
}

}  // namespace

TEST(GlxBindingTest, WindowsWithoutABackBufferOrNoDisplayAreRefused)
{
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
    Window window = XCreateWindow(display, root, 0, 0, 32, 32, 0, visual.depth, InputOutput, visual.visual,
                                  CWColormap, &attributes);
    XSync(display, False);
    clearReports();
    EXPECT_THROW(GLDevice(NativeWindow{display, window}), Exception);
    ASSERT_EQ(reports().size(), 1u);
    EXPECT_EQ(reports()[0].text.rfind("Corvelight GL: check failed at line ", 0), 0u);
    XDestroyWindow(display, window);
    XFreeColormap(display, attributes.colormap);
    setReportObserver(nullptr);
}
