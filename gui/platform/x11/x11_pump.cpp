// The host's idle call on X11: there is no event loop or timer of our own,
// so each call takes what the server sent without blocking, runs the timer
// when it is due and paints at most once, and only when asked to. An idle
// call with nothing to do makes no GL call and sends nothing to the server.
#include "gui/platform/x11/x11_popup.h"
#include "gui/platform/x11/x11_question.h"
#include "gui/platform/x11/x11_window.h"

namespace Wispkit::platform {

namespace {

constexpr auto kTimerPeriod = std::chrono::milliseconds(10);

// The popup's outcome is acted on after it is gone, so that the owner may
// open the next menu from its menuCommand.
void popupEvent(Window* window, XEvent& event) {
    Popup::Outcome outcome = window->popup->handleEvent(event);
    if (outcome.kind == Popup::Outcome::Open) return;
    window->popup.reset();
    window->wrapper->menuClosed();
    if (outcome.kind == Popup::Outcome::Chosen) window->wrapper->command(outcome.id);
    pointerBack(window);
}

// The question goes before its action runs, as a modal box has closed
// before the code after it runs.
void questionEvent(Window* window, XEvent& event) {
    Question::Answer answer = window->question->handleEvent(event);
    if (answer == Question::Answer::Pending) return;
    ConfirmedAction action = window->question->takeAction();
    window->question.reset();
    pointerBack(window);
    if (answer == Question::Answer::Ok && action) action();
}

void drainEvents(Window* window) {
    while (XPending(window->display) > 0) {
        XEvent event;
        XNextEvent(window->display, &event);
        if (window->popup && window->popup->owns(event.xany.window)) popupEvent(window, event);
        else if (window->question && window->question->owns(event.xany.window))
            questionEvent(window, event);
        else if (event.xany.window == window->id)
            handleWindowEvent(window, event);
    }
}

void tickIfDue(Window* window) {
    if (!window->timerRunning) return;
    Clock::time_point now = Clock::now();
    if (now - window->lastTick < kTimerPeriod) return;
    window->lastTick = now;
    window->wrapper->timerTick();
}

}  // namespace

bool viewable(Window* window) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(window->display, window->id, &attributes) != 0 && attributes.map_state == IsViewable;
}

void pump(Window* window) {
    drainEvents(window);
    tickIfDue(window);
    if (window->popup) window->popup->paintIfDue();
    if (window->question) window->question->paintIfDue();
    if (!window->mapped || window->destroyed) return;
    // A redraw from another thread between the test and the exchange is kept
    // for the next call, never lost.
    if (!window->repaint.load(std::memory_order_acquire) || !window->repaint.exchange(false)) return;
    // A host hides its editor by unmapping its own window, which leaves ours
    // mapped but not on the screen. The request is then dropped: the window
    // is exposed, and asks again, when it shows.
    if (!viewable(window)) return;
    offerPromptParent(window);
    window->wrapper->paint();
    // The frame reaches the screen in this call, not with the next one's
    // first request.
    XFlush(window->display);
}

bool startTimer(Window* window) {
    window->timerRunning = true;
    window->lastTick = Clock::now();
    return true;
}

void stopTimer(Window* window) { window->timerRunning = false; }

}  // namespace Wispkit::platform
