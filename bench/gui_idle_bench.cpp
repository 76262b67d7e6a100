// Cost of the host's idle call on an open editor window with nothing to do:
// no event waiting, no repaint asked for, the timer not due. It needs an X
// display (run it through scripts/with-display.sh); without one it reports
// an error instead of a time.
#include <benchmark/benchmark.h>

#include "gui/control.h"
#include "gui/frame_controller.h"
#include "gui/winwrapper.h"
#include "render/context.h"
#include "render/shader.h"

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

// One filled rectangle, counting its draws so the wait for the first paint
// knows when it happened.
class Swatch : public Wispkit::Control {
public:
    explicit Swatch(Wispkit::Container* parent) : Control(parent, 10, 10, 100, 60) {}
    void draw(Paintwell::Context* context) override {
        ++draws;
        Paintwell::Shader plain(context, Paintwell::BlendNone, Paintwell::CombineColor);
        context->drawQuad(Paintwell::makeQuad(10, 10, 100, 60, 0, 0, 0xFF3070C0));
    }
    int draws = 0;
};

struct Timer : Wispkit::ITimerController {
    void onTimer() override {}
};

void BM_IdleWithNothingToDo(benchmark::State& state) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == 0) {
        state.SkipWithError("no X display: run through scripts/with-display.sh");
        return;
    }
    Wispkit::IFrameController controller;
    auto* wrapper = new Wispkit::Winwrapper(&controller, 360, 140, nullptr);
    if (!wrapper->hasWindow()) {
        state.SkipWithError("no window");
        return;
    }
    auto* swatch = new Swatch(wrapper);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (swatch->draws == 0 && std::chrono::steady_clock::now() < deadline) {
        wrapper->idle();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    // The timer runs as in the editor; it is due only every 10 ms, so
    // nearly every call measured finds nothing to do.
    Timer timer;
    wrapper->setTimerTarget(&timer);
    int drawsBefore = swatch->draws;
    for (auto _ : state) wrapper->idle();
    if (swatch->draws != drawsBefore) state.SkipWithError("something painted while idle");
    wrapper->releaseResources();
    wrapper->closeWindow();
}
BENCHMARK(BM_IdleWithNothingToDo)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
