// The control tree without a window: hit testing, routing and hover, the
// redraw climb, and the orders of drawing, release and destruction.
#include "gui/container.h"

#include "gui/fake_editor_root.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Wispkit::Container;
using Wispkit::Control;

std::vector<std::string> journal;

class Probe : public Control {
public:
    Probe(Container* parent, const char* name, int x, int y, unsigned w, unsigned h)
        : Control(parent, x, y, w, h), name(name) {}
    ~Probe() override { journal.push_back(name + " deleted"); }

    bool mouseMove(int x, int y, int) override { return note("move", x, y); }
    bool mouseDown(int x, int y, int, int) override { return note("down", x, y); }
    void mouseLeave() override { journal.push_back(name + " leave"); }
    void releaseResources() override { journal.push_back(name + " release"); }
    void draw(Paintwell::Context*) override { journal.push_back(name + " draw"); }

    std::string name;

private:
    bool note(const char* what, int x, int y) {
        journal.push_back(name + " " + what + " " + std::to_string(x) + "," + std::to_string(y));
        return true;
    }
};

class Group : public Container {
public:
    Group(Container* parent, const char* name, int x, int y) : Container(parent, x, y, 200, 100), name(name) {}
    ~Group() override { journal.push_back(name + " deleted"); }
    std::string name;
};

class ControlTree : public ::testing::Test {
protected:
    void SetUp() override { journal.clear(); }
    GuiTest::FakeRoot root;
};

TEST_F(ControlTree, HitTestingUsesHalfOpenRectanglesAndFirstChildWins) {
    auto* a = new Probe(&root, "a", 10, 10, 20, 20);
    auto* b = new Probe(&root, "b", 20, 20, 20, 20);
    EXPECT_EQ(root.childAt(25, 25), a);  // overlap: added first wins
    EXPECT_EQ(root.childAt(10, 10), a);
    EXPECT_EQ(root.childAt(30, 30), b);  // x = a.x + width is outside a
    EXPECT_EQ(root.childAt(39, 39), b);
    EXPECT_EQ(root.childAt(40, 25), nullptr);
    EXPECT_EQ(root.childAt(9, 15), nullptr);  // left of a: never wrapped into it
    EXPECT_EQ(root.childAt(-5, -5), nullptr);

    root.draw(nullptr);  // added last is drawn last, on top
    EXPECT_EQ(journal, (std::vector<std::string>{"a draw", "b draw"}));
}

TEST_F(ControlTree, RoutedEventsArriveLocalAndMoveTheHover) {
    auto* group = new Group(&root, "g", 100, 0);
    new Probe(group, "a", 0, 0, 50, 50);
    new Probe(group, "b", 60, 0, 50, 50);

    EXPECT_TRUE(root.mouseMove(105, 7, 0));
    EXPECT_TRUE(root.mouseMove(170, 8, 0));       // a leaves before b hears of the move
    EXPECT_FALSE(root.mouseDown(155, 70, 1, 0));  // empty space inside the group
    EXPECT_TRUE(root.doubleClick(101, 2, 1, 0));  // a plain control sees a second press
    root.mouseLeave();
    EXPECT_EQ(journal,
              (std::vector<std::string>{"a move 5,7", "a leave", "b move 10,8", "b leave", "a down 1,2", "a leave"}));
    EXPECT_EQ(root.getHovered(), nullptr);
    EXPECT_EQ(group->getHovered(), nullptr);
}

TEST_F(ControlTree, RedrawClimbsToTheRootOncePerCall) {
    auto* group = new Group(&root, "g", 0, 0);
    auto* leaf = new Probe(group, "a", 3, 4, 10, 10);
    leaf->redraw();
    leaf->redraw();
    EXPECT_EQ(root.redraws, 2);
    EXPECT_EQ(Wispkit::absoluteX(leaf), 3);
    EXPECT_EQ(Wispkit::absoluteY(leaf), 4);
}

TEST_F(ControlTree, ReleaseWalksDepthFirstAndDeletionGoesLastChildFirst) {
    {
        GuiTest::FakeRoot local;
        auto* g = new Group(&local, "g", 0, 0);
        new Probe(g, "g1", 0, 0, 1, 1);
        new Probe(g, "g2", 0, 0, 1, 1);
        new Probe(&local, "c", 0, 0, 1, 1);
        local.releaseResources();
        EXPECT_EQ(journal, (std::vector<std::string>{"g1 release", "g2 release", "c release"}));
        journal.clear();
    }
    EXPECT_EQ(journal, (std::vector<std::string>{"c deleted", "g deleted", "g2 deleted", "g1 deleted"}));
}

}  // namespace
