// One thread arms, cancels and unlearns while another processes controller
// events, as the editor's menus and the host's audio thread do. Built into its
// own program so that the ThreadSanitizer build can run it alone.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

#include "core/controller_key.h"
#include "midi_test_effect.h"

namespace {

using miditest::Events;
using miditest::TestEffect;

// Counts finished learns from the audio thread without blocking it.
class CountingEditor : public PlugCore::Editor, public PlugCore::IParamNotify {
public:
    bool parameterChanged(std::uint32_t, float) override { return true; }
    void dataReady(void*) override {}
    void learnFinished(std::uint32_t index) override {
        if (index < TestEffect::kParams) finished.fetch_add(1, std::memory_order_relaxed);
    }
    std::atomic<int> finished{0};
};

TEST(MidiLearnThreads, LearnOperationsRaceControllerEventsSafely) {
    TestEffect fx;
    auto* editor = new CountingEditor;
    fx.setEditor(editor);
    constexpr int kBlocks = 3000;
    std::atomic<bool> done{false};
    std::atomic<bool> started{false};

    std::thread ui([&] {
        started.store(true, std::memory_order_release);
        for (int i = 0; !done.load(std::memory_order_acquire); ++i) {
            const int p = i % TestEffect::kParams;
            fx.beginLearn(p);
            if (i % 3 == 0) fx.cancelLearn();
            if (i % 5 == 0) fx.unlearn((p + 4) % TestEffect::kParams);
            (void)fx.isLearning(p);
            (void)fx.getMapping(p);
            std::this_thread::yield();
        }
    });

    while (!started.load(std::memory_order_acquire)) std::this_thread::yield();
    // Runs on until at least one learn has completed, however the threads are scheduled.
    for (int b = 0; b < kBlocks || editor->finished.load(std::memory_order_relaxed) == 0; ++b) {
        Events e;
        for (int k = 0; k < 4; ++k) e.cc(k * 8, 1 + (b * 7 + k * 3) % 30, (b + k) % 128);
        fx.run(e.list(), 32);
    }
    done.store(true, std::memory_order_release);
    ui.join();

    // The UI thread only ever removes keys, so no two parameters may share one.
    std::set<std::int32_t> keys;
    for (int p = 0; p < TestEffect::kParams; ++p) {
        const std::int32_t key = fx.getMapping(p);
        if (key == -1) continue;
        EXPECT_EQ(PlugCore::controllerRole(key & 0x7F), PlugCore::ControllerRole::Learnable);
        EXPECT_EQ(key, PlugCore::controllerKey(key & 0x7F));
        EXPECT_TRUE(keys.insert(key).second) << "key shared: " << key;
    }
    EXPECT_GT(editor->finished.load(), 0);
}

}  // namespace
