// A stand-in host for trying the toolkit by hand: a top-level window holding
// a wrapper with two pads (left button drags, right button opens a menu,
// wheel and double clicks are reported) that prints every call the pads
// get. Runs until its window closes or for --seconds N.
#include "demo_controls.h"
#include "demo_pump.h"

#include "gui/frame_controller.h"
#include "gui/winwrapper.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct Host : Wispkit::IFrameController, Wispkit::ITimerController {
    bool gone = false;
    long ticks = 0;
    void windowDestroyed() override { gone = true; }
    void onTimer() override { ++ticks; }
};

void print(const WispkitDemo::Event& e) {
    std::printf("%-5s %-7s x=%d y=%d button=%d delta=%.1f keys=%d id=%u\n", e.pad.c_str(), e.what.c_str(), e.x, e.y,
                e.button, e.delta, e.keys, e.id);
    std::fflush(stdout);
}

double secondsFrom(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--seconds") == 0) return std::atof(argv[i + 1]);
    return 0;  // until the window closes
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = secondsFrom(argc, argv);
    Host host;
    WispkitDemo::Log log;
    auto* wrapper = new Wispkit::Winwrapper(&host, 360, 140, nullptr);
    if (!wrapper->hasWindow()) return 1;
    WispkitDemo::buildDemo(wrapper, &log);
    wrapper->setTimerTarget(&host);
    auto start = std::chrono::steady_clock::now();
    std::size_t printed = 0;
    while (!host.gone) {
        WispkitDemo::pumpSystem();
        if (host.gone) break;
        wrapper->idle();
        for (; printed < log.events.size(); ++printed) print(log.events[printed]);
        std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        if (seconds > 0 && elapsed.count() >= seconds) break;
        WispkitDemo::pause(15);
    }
    if (!host.gone) {
        wrapper->releaseResources();
        wrapper->closeWindow();
    }
    std::printf("timer ticks: %ld, pad draws: %d\n", host.ticks, log.draws);
    return 0;
}
