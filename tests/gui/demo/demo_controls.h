// The demo's test controls, shared by the demo program and the window
// tests that drive it: pads that fill themselves with one colour, write
// down every call they get, take the mouse while the left button is down
// and open a small menu on the right button.
//
// Threads: the editor window's thread. Ownership: the pads belong to their
// parent; the log belongs to whoever builds the demo and must outlive it.
#pragma once

#include "gui/container.h"

#include <cstdint>
#include <string>
#include <vector>

namespace WispkitDemo {

/// One call a pad received, positions local to the pad.
struct Event {
    std::string pad;
    std::string what;  // "move", "down", "up", "double", "wheel", "leave", "lost", "command"
    int x = 0;
    int y = 0;
    int button = 0;
    float delta = 0;
    int keys = 0;
    unsigned id = 0;
};

struct Log {
    std::vector<Event> events;
    int draws = 0;
    /// Events of one kind, in order.
    std::vector<Event> of(const std::string& what) const;
    int count(const std::string& what) const;
};

/// The menu a pad opens: two items, a separator, a disabled item and a
/// fourth one, with keys R, L, U and W.
enum MenuId : unsigned { kReset = 10, kLearn = 11, kUnlearn = 12, kWeb = 13 };

class Pad : public Wispkit::Control {
public:
    Pad(Wispkit::Container* parent, const char* name, int x, int y, unsigned w, unsigned h, std::uint32_t colour,
        Log* log);

    bool mouseMove(int x, int y, int keys) override;
    bool mouseDown(int x, int y, int button, int keys) override;
    bool mouseUp(int x, int y, int button, int keys) override;
    bool doubleClick(int x, int y, int button, int keys) override;
    bool mouseWheel(int x, int y, float delta, int keys) override;
    void mouseLeave() override;
    void captureLost() override;
    void menuCommand(unsigned id) override;
    void draw(Paintwell::Context* context) override;

    /// Opens the pad's menu at (x, y) of the pad with the given alignment.
    bool openMenu(int x, int y, int align);
    std::uint32_t colour;

private:
    void record(const char* what, int x, int y, int button = 0, float delta = 0, int keys = 0, unsigned id = 0);

    std::string name;
    Log* log;
};

/// The demo's panel on a root of width by height: pads "left" and "right".
void buildDemo(Wispkit::Container* root, Log* log);

}  // namespace WispkitDemo
