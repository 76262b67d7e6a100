// The editor while another thread automates the parameters and sends the
// core's notifications: nothing waits, and once the other thread stops, one
// timer tick leaves the editor's cache equal to the parameter table.
#include "gui/plug_edit_vst.h"
#include "gui/plug_frame.h"
#include "gui/plug_knob.h"
#include "gui/winwrapper.h"

#include "core/plug.h"
#include "gui/headless/fake_window.h"
#include "render/gl/recording_context.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

namespace {

class ThreadPlug : public PlugCore::Plug {
public:
    ThreadPlug() : Plug(nullptr, 1, 4, "Thread Test Plug", 1, 1) {
        for (unsigned i = 0; i < 4; ++i) params.defineParameter(i, "p", "", 0.5f);
    }
    void prepareProcessing() override {}
    void resetProcessing() override {}
    bool renderBlock(bool, const PlugCore::Transport*, double**, double**, std::uint32_t) override { return true; }
    void formatParameter(std::uint32_t, char* text, float value) override { std::snprintf(text, 32, "%.3f", value); }
};

class Knobs : public Wispkit::IEditBuilder {
public:
    void build(Wispkit::PlugFrame* frame) override {
        for (unsigned i = 0; i < 4; ++i) new Wispkit::PlugKnob(frame, frame, "p", i, static_cast<int>(i) * 80, 0);
    }
};

TEST(EditorThreads, AutomationAndNotificationsFromAnotherThreadNeverWait) {
    HeadlessTest::windowSystem() = HeadlessTest::WindowSystem{};
    Wispkit::EditorDescriptor descriptor{480, 110, 0, 4, 0xE1804F, nullptr};
    Knobs knobs;
    auto* plug = new ThreadPlug;
    auto* editor = new Wispkit::PlugEditVST(plug, &knobs, &descriptor);
    editor->open(nullptr);

    std::atomic<bool> stop{false};
    std::thread automation([&] {
        for (unsigned n = 0; !stop.load(); ++n) {
            const unsigned index = n % 4;
            // Each parameter only ever rises: a value that came back would let
            // a direct notification leave the cache behind the editor's seen copy.
            const float value = static_cast<float>(std::min(n / 4, 64000u)) / 64000.0f;
            plug->setParameter(static_cast<PlugCore::int32>(index), value);
            // The core offers the editor the stored (quantised) value.
            editor->parameterChanged(index, plug->getParameter(static_cast<PlugCore::int32>(index)));
            editor->learnFinished(index);
        }
    });
    PaintwellTest::RecordingContext context;
    for (int round = 0; round < 2000; ++round) {
        Wispkit::PlugFrame* frame = editor->getFrame();
        frame->onTimer();
        frame->draw(&context);
        context.draws.clear();
        if (round % 500 == 499) {  // the host closes and opens again meanwhile
            auto* wrapper = static_cast<Wispkit::Winwrapper*>(frame->getParent());
            editor->close();
            wrapper->windowGone();
            editor->open(nullptr);
        }
    }
    stop.store(true);
    automation.join();

    Wispkit::PlugFrame* frame = editor->getFrame();
    frame->onTimer();
    for (unsigned i = 0; i < 4; ++i)
        EXPECT_EQ(frame->getValue(i, nullptr), plug->getParameter(static_cast<PlugCore::int32>(i)));
    auto* wrapper = static_cast<Wispkit::Winwrapper*>(frame->getParent());
    editor->close();
    wrapper->windowGone();
    delete plug;
    EXPECT_EQ(HeadlessTest::windowSystem().windowsAlive, 0);
}

}  // namespace
