// The X11 popup menu driven as a user would: opened by a right click or by a
// control at each alignment near every screen edge, steered by keys and
// the mouse, chosen, dismissed, and never choosing a disabled item.
#include <gtest/gtest.h>

#include "x11_test_host.h"

#include "gui/platform/x11/x11_popup.h"
#include "gui/platform/x11/x11_window.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace WispkitTest {
namespace {

using Wispkit::platform::Popup;
using Wispkit::platform::PopupRect;

class X11Menu : public ::testing::Test {
protected:
    TestHost host;
    Editor editor{host};

    Popup* popup() { return editor.wrapper->nativeWindow()->popup.get(); }
    bool open() { return editor.wrapper->isMenuOpenFor(editor.right); }
    /// Opens the right pad's menu and waits until it is drawn.
    void openMenu(int x, int y, int align) {
        ASSERT_TRUE(editor.right->openMenu(x, y, align));
        ASSERT_TRUE(open());
        editor.settle(3);
    }
    bool closed() {
        return editor.pumpUntil([&] { return popup() == nullptr && !open(); });
    }
    /// Screen position of the middle of item index.
    void pointAtItem(int index) {
        PopupRect r = popup()->bounds();
        int top = r.y + 4;  // border, items of 20 pixels, the separator (item 2) of 9
        for (int i = 0; i < index; ++i) top += i == 2 ? 9 : 20;
        int y = top + (index == 2 ? 4 : 10);
        host.moveTo(r.x + r.width / 2 - host.left, y - host.top);
    }
    std::vector<unsigned> commands() {
        std::vector<unsigned> ids;
        for (const auto& e : editor.log.of("command")) ids.push_back(e.id);
        return ids;
    }
};

TEST_F(X11Menu, RightClickOpensAndKeysChooseOrDismiss) {
    host.moveTo(260, 60);
    host.click(3);
    ASSERT_TRUE(editor.pumpUntil([&] { return open(); }));
    PopupRect r = popup()->bounds();
    EXPECT_EQ(r.x, host.left + 200);  // left edge at the pad's left, top below it
    EXPECT_EQ(r.y, host.top + 20 + 100);

    host.tap(XK_Down);
    host.tap(XK_Down);
    ASSERT_TRUE(editor.pumpUntil([&] { return popup()->highlighted() == 1; }));
    host.tap(XK_End);  // the disabled item is passed over
    ASSERT_TRUE(editor.pumpUntil([&] { return popup()->highlighted() == 4; }));
    host.tap(XK_Home);
    host.tap(XK_Return);
    ASSERT_TRUE(closed());
    EXPECT_EQ(commands(), std::vector<unsigned>{WispkitDemo::kReset});

    openMenu(0, 100, -1);
    host.tap(XK_Escape);
    ASSERT_TRUE(closed());
    openMenu(0, 100, -1);
    host.tap(XK_u);  // the disabled item's key
    editor.settle();
    EXPECT_TRUE(open());
    host.tap(XK_l);
    ASSERT_TRUE(closed());
    EXPECT_EQ(commands(), (std::vector<unsigned>{WispkitDemo::kReset, WispkitDemo::kLearn}));
}

TEST_F(X11Menu, ClicksChooseEnabledItemsOnlyAndOutsideDismisses) {
    openMenu(0, 100, -1);
    pointAtItem(3);  // disabled
    host.click(1);
    pointAtItem(2);  // separator
    host.click(1);
    editor.settle();
    EXPECT_TRUE(open());
    EXPECT_TRUE(commands().empty());

    pointAtItem(4);
    ASSERT_TRUE(editor.pumpUntil([&] { return popup()->highlighted() == 4; }));
    host.click(1);
    ASSERT_TRUE(closed());
    EXPECT_EQ(commands(), std::vector<unsigned>{WispkitDemo::kWeb});

    openMenu(0, 100, -1);
    host.moveTo(5, 5);
    host.click(1);
    ASSERT_TRUE(closed());
    EXPECT_EQ(commands().size(), 1u);
    editor.settle();
    EXPECT_EQ(editor.log.count("down"), 0);  // the closing click is the menu's
}

TEST_F(X11Menu, MenuIsDrawnWhenItOpensAndHighlightInTheAccentColour) {
    auto pixelIs = [&](int x, int y, unsigned long colour) {
        return editor.pumpUntil([&] {
            XImage* image = XGetImage(host.display, DefaultRootWindow(host.display), x, y, 1, 1, AllPlanes, ZPixmap);
            unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
            XDestroyImage(image);
            return pixel == colour;
        });
    };
    openMenu(0, 100, -1);
    PopupRect r = popup()->bounds();
    // Drawn with no input after it opened: the panel below the last item.
    EXPECT_TRUE(pixelIs(r.x + 6, r.y + r.height - 2, 0x262626));
    host.tap(XK_Down);
    ASSERT_TRUE(editor.pumpUntil([&] { return popup()->highlighted() == 0; }));
    EXPECT_TRUE(pixelIs(r.x + 6, r.y + 6, 0xE1804F));
}

TEST_F(X11Menu, EveryAlignmentStaysOnTheScreenNearEveryEdge) {
    int screenW = DisplayWidth(host.display, DefaultScreen(host.display));
    int screenH = DisplayHeight(host.display, DefaultScreen(host.display));
    const int corners[4][2] = {{0, 0}, {screenW - 360, 0}, {0, screenH - 140}, {screenW - 360, screenH - 140}};
    for (const auto& corner : corners) {
        host.moveParent(corner[0], corner[1]);
        for (int align : {-1, 0, 1}) {
            for (int px : {-200, 0, 70, 140, 340}) {
                SCOPED_TRACE(testing::Message()
                             << "corner " << corner[0] << "," << corner[1] << " align " << align << " x " << px);
                openMenu(px, 100, align);
                PopupRect r = popup()->bounds();
                EXPECT_GE(r.x, 0);
                EXPECT_GE(r.y, 0);
                EXPECT_LE(r.x + r.width, screenW);
                EXPECT_LE(r.y + r.height, screenH);
                int pointX = corner[0] + 200 + px, pointY = corner[1] + 20 + 100;
                int wanted = align == -1 ? pointX : align == 1 ? pointX - r.width : pointX - r.width / 2;
                if (wanted >= 0 && wanted + r.width <= screenW) {
                    EXPECT_EQ(r.x, wanted);
                }
                if (pointY + r.height <= screenH) {
                    EXPECT_EQ(r.y, pointY);
                } else {
                    EXPECT_EQ(r.y + r.height, pointY);
                }
                host.tap(XK_Escape);
                ASSERT_TRUE(closed());
            }
        }
    }
    EXPECT_TRUE(commands().empty());
}

TEST_F(X11Menu, ClosingTheEditorWithTheMenuOpenEndsTheMenuAndItsGrabs) {
    openMenu(0, 100, -1);
    editor.close();
    // Another client can take the pointer and keyboard again.
    EXPECT_EQ(XGrabPointer(host.display, host.parent, False, 0, GrabModeAsync, GrabModeAsync, None, None, CurrentTime),
              GrabSuccess);
    EXPECT_EQ(XGrabKeyboard(host.display, host.parent, False, GrabModeAsync, GrabModeAsync, CurrentTime), GrabSuccess);
    XUngrabPointer(host.display, CurrentTime);
    XUngrabKeyboard(host.display, CurrentTime);
    host.flush();
}

}  // namespace
}  // namespace WispkitTest
