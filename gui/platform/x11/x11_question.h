// The editor's OK/Cancel question on X11. A dialog program that the editor's
// thread waited for could hang the host, which may need that thread to close
// the editor; this is instead a surface of our own in the editor's look that
// opens and returns at once, is answered on the wrapper's idle pump and runs
// its action from the idle call that saw OK. It is transient for the host's
// top-level window, so the window manager keeps it above that window, and it
// takes no grab, so a host that stops idling leaves the desktop usable.
// It hides and shows again with the host's window, as a host hides the
// editor's window when the user closes it and may show it again later.
//
// Threads: the editor's thread. Ownership: the wrapper's platform window
// holds the open question; the question owns its surface and its action,
// which ends unrun when the question goes without an OK.
#pragma once

#include "gui/control.h"
#include "gui/platform/x11/question_layout.h"
#include "gui/platform/x11/x11_surface.h"

#include <memory>
#include <string>

namespace Wispkit::platform {

struct Window;

class Question {
public:
    enum class Answer { Pending, Ok, Cancel };
    enum : int { kOk = 0, kCancel = 1 };

    /// Shows the question over the editor; null when no window or device
    /// could be made (the action is then dropped: Cancel).
    static std::unique_ptr<Question> open(Window* owner, const std::string& caption, const std::string& text,
                                          ConfirmedAction onOk);
    ~Question();
    Question(const Question&) = delete;
    Question& operator=(const Question&) = delete;

    /// Its own window's events and those of the host's window it follows.
    bool owns(::Window id) const { return id == surface->id() || (id == host && host != 0); }
    /// The answer the event gives, Pending while the question stays open.
    Answer handleEvent(XEvent& event);
    /// The action OK runs, handed over once.
    ConfirmedAction takeAction() { return std::move(onOk); }
    /// Draws the question when something changed since it was last drawn.
    void paintIfDue();
    void draw(Paintwell::Context* context);

    ::Window id() const { return surface->id(); }
    PopupRect bounds() const { return rect; }
    const QuestionLayout& layout() const { return shape; }
    /// The button Enter answers with: OK until Tab or an arrow key moves on.
    int focusedButton() const { return focus; }

private:
    Question(Display* display, std::string caption, ConfirmedAction onOk);

    void describe();
    void follow();
    Answer hostEvent(const XEvent& event);
    void render();
    void setHover(int button);
    Answer pointerMoved(int x, int y);
    Answer buttonPressed(const XButtonEvent& event);
    Answer buttonReleased(const XButtonEvent& event);
    Answer keyPressed(XKeyEvent& event);
    Answer clientMessage(const XClientMessageEvent& event) const;
    void takeFocus();

    Display* display;
    std::string caption;
    ConfirmedAction onOk;
    std::unique_ptr<Surface> surface;
    QuestionLayout shape;
    PopupRect rect{0, 0, 1, 1};
    ::Window host = 0;  // the host's top-level window, 0 when none was found
    Atom protocols = 0;
    Atom deleteWindow = 0;
    int focus = kOk;
    int hover = -1;
    int pressed = -1;
    bool repaint = true;
    bool focusTaken = false;
};

}  // namespace Wispkit::platform
