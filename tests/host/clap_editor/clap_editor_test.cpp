// The CLAP form's editor as hosts drive it: the gui calls in the documented
// order and in Qtractor's, the editor embedded in a window of the host's and,
// on Linux, run only by the host's timer and descriptor callbacks; painted
// as the VST 2.4 editor paints; dragged by real input, its gestures reaching
// the host from the next process call or flush; hidden, shown and ended,
// round after round, with nothing left behind.
#include "screenshot_host.h"
#include "test_host.h"
#include "tests/host/clap/clap_host.h"

#include <gtest/gtest.h>

#if defined(_WIN32)
#include "win32_test_window.h"
#else
#include <filesystem>
#endif

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace ClapHost;
using EditorShots::Pump;
using EditorShots::ScreenshotHost;
using Pixels = std::vector<std::uint32_t>;
using Clock = std::chrono::steady_clock;

constexpr char kId[] = "com.corvelight.tallow-reed";
constexpr clap::clap_id kDepth = 2;
constexpr int kKnobX = 206, kKnobY = 60;  // inside the "depth" knob's circle
constexpr int kRestX = 4, kRestY = 4;     // over no control

#if defined(_WIN32)
constexpr const char* kApi = clap::CLAP_WINDOW_API_WIN32;
constexpr const char* kOtherApi = clap::CLAP_WINDOW_API_X11;
constexpr bool kNeedsHostLoop = false;  // the editor lives on the system's message loop
clap::clap_window windowOf(void* parent) {
    clap::clap_window window{kApi, {}};
    window.win32 = parent;
    return window;
}
#else
constexpr const char* kApi = clap::CLAP_WINDOW_API_X11;
constexpr const char* kOtherApi = clap::CLAP_WINDOW_API_WIN32;
constexpr bool kNeedsHostLoop = true;
clap::clap_window windowOf(void* parent) {
    clap::clap_window window{kApi, {}};
    window.x11 = static_cast<clap::clap_xwnd>(reinterpret_cast<std::uintptr_t>(parent));
    return window;
}
#endif

const Module& clapModule() {
    static std::unique_ptr<Module> module = [] {
        std::string error;
        auto m = Module::load(TALLOW_CLAP_PATH, error);
        if (!m) ADD_FAILURE() << "cannot load " << TALLOW_CLAP_PATH << ": " << error;
        return m;
    }();
    return *module;
}

// ---- the rounds ---------------------------------------------------------------------

enum class Order { Documented, Qtractor };
// What of the host's loop runs the editor on Linux: Qtractor runs both.
enum class Loop { Both, Timers, Descriptors };
// How the editor's gesture reaches the host: blocks processed on an audio
// thread throughout; a flush while active and stopped; a flush before the
// first activation; or the first blocks after a later activation.
enum class Delivery { Running, StoppedFlush, InactiveFlush, ActivatedLater };
// The host ends the editor after the drag, during it, or destroys the
// plug-in with the editor still open.
enum class Ending { Destroy, DestroyMidDrag, PluginGoesOpen };

struct Round {
    Order order;
    Loop loop;
    Delivery delivery;
    Ending ending;
};

constexpr Round kRounds[] = {
    {Order::Documented, Loop::Both, Delivery::Running, Ending::Destroy},
    {Order::Qtractor, Loop::Both, Delivery::StoppedFlush, Ending::Destroy},
    {Order::Qtractor, Loop::Timers, Delivery::InactiveFlush, Ending::Destroy},
    {Order::Documented, Loop::Descriptors, Delivery::ActivatedLater, Ending::Destroy},
    {Order::Qtractor, Loop::Both, Delivery::Running, Ending::DestroyMidDrag},
    {Order::Documented, Loop::Timers, Delivery::StoppedFlush, Ending::PluginGoesOpen},
    {Order::Documented, Loop::Both, Delivery::InactiveFlush, Ending::DestroyMidDrag},
    {Order::Qtractor, Loop::Descriptors, Delivery::ActivatedLater, Ending::PluginGoesOpen},
};
constexpr int kRows = static_cast<int>(std::size(kRounds));
constexpr int kRoundCount = 24;

// What a host's loop does for the editor: Qtractor's 30 ms timer tick and its
// watch on the registered descriptors. Nothing at all on Windows.
class HostLoop {
public:
    HostLoop(Plugin& plugin, Loop loop) : plugin(plugin), loop(loop) {}
    void operator()() {
        if (loop != Loop::Timers) plugin.pollDescriptors(0);
        const Clock::time_point now = Clock::now();
        if (loop == Loop::Descriptors || now < due) return;
        plugin.tickTimers();
        due = now + std::chrono::milliseconds(30);
    }

private:
    Plugin& plugin;
    Loop loop;
    Clock::time_point due{};
};

// ---- what the plug-in sends ---------------------------------------------------------

struct Sent {
    std::uint16_t type;
    clap::clap_id id;
    double value;
    std::uint32_t flags;
};

void collect(const OutputEvents& out, std::vector<Sent>& into) {
    for (std::size_t i = 0; i < out.size(); ++i) {
        const clap::clap_event_header& header = out.header(i);
        Sent sent{header.type, clap::CLAP_INVALID_ID, 0.0, header.flags};
        if (header.type == clap::CLAP_EVENT_PARAM_VALUE) {
            const auto event = out.as<clap::clap_event_param_value>(i);
            sent.id = event.param_id;
            sent.value = event.value;
        } else if (header.type == clap::CLAP_EVENT_PARAM_GESTURE_BEGIN ||
                   header.type == clap::CLAP_EVENT_PARAM_GESTURE_END) {
            sent.id = out.as<clap::clap_event_param_gesture>(i).param_id;
        }
        into.push_back(sent);
    }
}

// One line a kind of event, runs of values as one: a gesture whose value
// came in several blocks reads the same. lastValue is the last value sent.
std::vector<std::string> gestureLines(const std::vector<Sent>& sent, double& lastValue) {
    std::vector<std::string> lines;
    for (const Sent& s : sent) {
        const char* kind = s.type == clap::CLAP_EVENT_PARAM_GESTURE_BEGIN ? "begin"
                           : s.type == clap::CLAP_EVENT_PARAM_GESTURE_END ? "end"
                           : s.type == clap::CLAP_EVENT_PARAM_VALUE       ? "value"
                                                                          : "other";
        char line[48];
        std::snprintf(line, sizeof line, "%s %u%s", kind, s.id,
                      s.flags & clap::CLAP_EVENT_DONT_RECORD ? " unrecorded" : "");
        if (s.type == clap::CLAP_EVENT_PARAM_VALUE) lastValue = s.value;
        if (lines.empty() || lines.back() != line || s.type != clap::CLAP_EVENT_PARAM_VALUE) lines.emplace_back(line);
    }
    return lines;
}

// The host's audio side for a Running round: blocks processed on a thread of
// its own while the editor is dragged, every event kept.
class AudioThread {
public:
    explicit AudioThread(Plugin& plugin) : plugin(plugin), thread([this] { run(); }) {}
    ~AudioThread() { stop(); }
    AudioThread(const AudioThread&) = delete;
    AudioThread& operator=(const AudioThread&) = delete;

    std::vector<Sent> stop() {
        running = false;
        if (thread.joinable()) thread.join();
        return sent;
    }

private:
    void run() {
        plugin.startProcessing();
        StereoBuffers audio(256);
        InputEvents in;
        OutputEvents out;
        while (running) {
            clap::clap_process block = makeProcess(audio, 256, in, out);
            plugin.process(block);
            collect(out, sent);
            out.clear();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        plugin.stopProcessing();
    }

    Plugin& plugin;
    std::atomic<bool> running{true};
    std::vector<Sent> sent;  // the thread's until it is joined
    std::thread thread;
};

// ---- pixels -------------------------------------------------------------------------

// The share of pixels within two steps a channel of the reference's.
double matching(const Pixels& a, const Pixels& b) {
    if (a.empty() || a.size() != b.size()) return 0.0;
    std::size_t same = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        bool close = true;
        for (int shift : {0, 8, 16}) close &= std::abs(int((a[i] >> shift) & 0xFF) - int((b[i] >> shift) & 0xFF)) <= 2;
        same += close;
    }
    return double(same) / double(a.size());
}

// Lets the editor run until it shows at least `share` of the reference, or 3 s pass.
double waitForPanel(ScreenshotHost& window, const Pump& pump, const Pixels& reference, double share) {
    double best = 0.0;
    for (int waited = 0; waited < 3000 && best < share; waited += 20) {
        window.settle(pump, 20);
        best = std::max(best, matching(window.grab(), reference));
    }
    return best;
}

int openDescriptors() {
#if defined(_WIN32)
    return 0;
#else
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
    return count;
#endif
}

// ---- the test -----------------------------------------------------------------------

class ClapEditor : public ::testing::Test {
protected:
    void SetUp() override {
        HostTest::host().reset();
        if (!window.problem().empty()) GTEST_SKIP() << window.problem();
    }

    // The VST 2.4 form's editor in the same window: what the CLAP form's must show.
    Pixels vst2Panel() {
        HostTest::Effect effect;
        effect.start();
        EXPECT_EQ(effect.dispatch(vst::effEditOpen, 0, 0, window.parent()), 1);
        const Pump idle = [&effect] { effect.dispatch(vst::effEditIdle); };
        window.moveTo(idle, kRestX, kRestY);
        window.settle(idle, 400);
        const Pixels pixels = window.grab();
        effect.dispatch(vst::effEditClose);
        window.releaseParent();
        return pixels;
    }

    void open(const clap::clap_plugin_gui& gui, const clap::clap_plugin* p, Order order);
    void drag(const clap::clap_plugin_gui& gui, const clap::clap_plugin* p, const Pump& pump, int dy, Ending ending);
    std::vector<Sent> deliver(Plugin& plugin, Host& host, Delivery delivery, AudioThread* audio);
    void runRound(const Round& round, int number, const Pixels& panel);

    ScreenshotHost window;
};

// The gui calls up to a shown editor, in the order the round's host makes them.
void ClapEditor::open(const clap::clap_plugin_gui& gui, const clap::clap_plugin* p, Order order) {
    ASSERT_TRUE(gui.is_api_supported(p, kApi, false));
    ASSERT_TRUE(gui.create(p, kApi, false));
    const clap::clap_window parent = windowOf(window.parent());
    std::uint32_t width = 0, height = 0;
    if (order == Order::Documented) {
        ASSERT_TRUE(gui.get_size(p, &width, &height));
        ASSERT_TRUE(gui.set_parent(p, &parent));
        ASSERT_TRUE(gui.show(p));
    } else {
        // Qtractor embeds into a window it shows only after show, and asks
        // about the size once the editor is in it.
        window.showHost(false);
        ASSERT_TRUE(gui.set_parent(p, &parent));
        EXPECT_FALSE(gui.can_resize(p));
        clap::clap_gui_resize_hints hints{true, true, true, 0, 0};
        ASSERT_TRUE(gui.get_resize_hints(p, &hints));
        EXPECT_FALSE(hints.can_resize_horizontally || hints.can_resize_vertically);
        ASSERT_TRUE(gui.get_size(p, &width, &height));
        ASSERT_TRUE(gui.show(p));
        window.showHost(true);
    }
    EXPECT_EQ(width, 480u);
    EXPECT_EQ(height, 110u);
}

// The "depth" knob dragged by dy pixels (40 is a tenth of its range). A host
// may end the editor while the button is still down.
void ClapEditor::drag(const clap::clap_plugin_gui& gui, const clap::clap_plugin* p, const Pump& pump, int dy,
                      Ending ending) {
    window.moveTo(pump, kKnobX, kKnobY);
    window.leftButton(pump, true);
    window.moveTo(pump, kKnobX, kKnobY + dy);
    if (ending == Ending::DestroyMidDrag) gui.destroy(p);
    window.leftButton(pump, false);
    window.moveTo(pump, kRestX, kRestY);
}

// What the plug-in sends the host after the drag, by the round's way.
std::vector<Sent> ClapEditor::deliver(Plugin& plugin, Host& host, Delivery delivery, AudioThread* audio) {
    if (delivery == Delivery::Running) return audio->stop();
    // Nothing processes: the plug-in asked for a flush.
    EXPECT_GE(host.snapshot().flushRequests, 1);
    std::vector<Sent> sent;
    InputEvents none;
    OutputEvents out;
    if (delivery == Delivery::ActivatedLater) {
        // Qtractor answers by flushing only before it starts processing.
        EXPECT_TRUE(plugin.activate(48000.0, 1, 256));
        EXPECT_TRUE(plugin.startProcessing());
        StereoBuffers audioBuffers(256);
        clap::clap_process block = makeProcess(audioBuffers, 256, none, out);
        plugin.process(block);
    } else {
        plugin.flush(none, out);
    }
    collect(out, sent);
    OutputEvents again;  // the next flush has nothing left to say
    plugin.flush(none, again);
    EXPECT_EQ(again.size(), 0u);
    return sent;
}

void ClapEditor::runRound(const Round& round, int number, const Pixels& panel) {
    Host host;
    auto plugin = std::make_unique<Plugin>(clapModule(), host, kId);
    ASSERT_NE(plugin->get(), nullptr);
    ASSERT_TRUE(plugin->init());
    if (round.delivery == Delivery::Running || round.delivery == Delivery::StoppedFlush) {
        ASSERT_TRUE(plugin->activate(48000.0, 1, 256));
    }
    std::unique_ptr<AudioThread> audio;
    if (round.delivery == Delivery::Running) audio = std::make_unique<AudioThread>(*plugin);
    const auto* gui = plugin->extension<clap::clap_plugin_gui>(clap::CLAP_EXT_GUI);
    const auto* params = plugin->extension<clap::clap_plugin_params>(clap::CLAP_EXT_PARAMS);
    ASSERT_TRUE(gui && params);
    const clap::clap_plugin* p = plugin->get();
    HostLoop loop(*plugin, round.loop);
    const Pump pump = [&loop] { loop(); };

    open(*gui, p, round.order);
    if (HasFatalFailure()) return;
    EXPECT_EQ(host.timers().size(), kNeedsHostLoop ? 1u : 0u);
    EXPECT_EQ(host.descriptors().size(), kNeedsHostLoop ? 1u : 0u);
    window.moveTo(pump, kRestX, kRestY);
    // The first round shows exactly the VST 2.4 editor; later ones differ by a knob.
    const double share = number == 0 ? 1.0 : 0.9;
    EXPECT_GE(waitForPanel(window, pump, panel, share), share);

    ASSERT_TRUE(gui->hide(p));
    window.settle(pump, 30);
    EXPECT_FALSE(window.embedded().shown);
    ASSERT_TRUE(gui->show(p));
    window.settle(pump, 30);
    EXPECT_TRUE(window.embedded().shown);
    EXPECT_GE(waitForPanel(window, pump, panel, 0.9), 0.9);  // painted again once shown

    double before = -1.0, after = -2.0, lastSent = -3.0;
    ASSERT_TRUE(params->get_value(p, kDepth, &before));
    const int dy = number % 2 ? 40 : -40;  // up, then down again the next round
    drag(*gui, p, pump, dy, round.ending);
    const std::vector<Sent> sent = deliver(*plugin, host, round.delivery, audio.get());
    ASSERT_TRUE(params->get_value(p, kDepth, &after));
    EXPECT_NEAR(after, std::clamp(before - dy / 400.0, 0.0, 1.0), 1e-3);
    EXPECT_EQ(gestureLines(sent, lastSent), (std::vector<std::string>{"begin 2", "value 2", "end 2"}));
    EXPECT_EQ(lastSent, after);

    if (round.ending == Ending::Destroy) gui->destroy(p);
    if (round.ending != Ending::PluginGoesOpen) {
        EXPECT_TRUE(host.timers().empty());
        EXPECT_TRUE(host.descriptors().empty());
    }
    audio.reset();
    plugin.reset();
    EXPECT_TRUE(host.timers().empty());
    EXPECT_TRUE(host.descriptors().empty());
    window.releaseParent();
    EXPECT_EQ(window.embedded().windows, 0);
    const HostRecord record = host.snapshot();
    std::string problems;
    for (const std::string& problem : record.problems) problems += problem + "\n";
    EXPECT_TRUE(problems.empty()) << problems;
}

TEST_F(ClapEditor, EmbedsPaintsDragsAndEndsRoundAfterRoundLeavingNothing) {
    const Pixels panel = vst2Panel();
    ASSERT_EQ(panel.size(), std::size_t(EditorShots::kWidth) * EditorShots::kHeight);
    ASSERT_LT(std::count(panel.begin(), panel.end(), 0u), std::ptrdiff_t(panel.size() / 10)) << "not painted";
    ::testing::internal::CaptureStderr();  // the renderer reports leaked textures there
    int descriptors = 0;
#if defined(_WIN32)
    Win32Test::Holdings held;
#endif
    for (int number = 0; number < kRoundCount && !HasFatalFailure(); ++number) {
        const Round& round = kRounds[number % kRows];
        char trace[32];
        std::snprintf(trace, sizeof trace, "round %d, row %d", number, number % kRows);
        SCOPED_TRACE(trace);
        runRound(round, number, panel);
        // What the first pass over the rows allocates (the module's fonts,
        // the GL driver's, under Wine three GDI objects in the first round
        // in Qtractor's order) stays for the process's life; the later
        // passes add none.
        if (number != kRows - 1) continue;
        descriptors = openDescriptors();
#if defined(_WIN32)
        held = Win32Test::holdings();
#endif
    }
    EXPECT_EQ(openDescriptors(), descriptors);  // the capture's own file still open, as then
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(errors.find("leak"), std::string::npos) << errors;
#if defined(_WIN32)
    EXPECT_EQ(Win32Test::holdings(), held);
#endif
}

// Without the host's timer and descriptor support an editor could never run
// on Linux: create says no there. The window system is still named as
// supported, since scanners ask through hosts that offer nothing and list no
// editor for good on a no. Windows needs neither.
TEST(ClapEditorHost, CreateNeedsTheHostLoopOnLinuxOnly) {
    struct Offer {
        bool timers, descriptors, anything;
    };
    for (const Offer offer : {Offer{false, true, true}, Offer{true, false, true}, Offer{false, false, false}}) {
        HostOffers offers;
        offers.timerSupport = offer.timers;
        offers.posixFdSupport = offer.descriptors;
        if (!offer.anything) offers = HostOffers{false, false, false, false, false, false, false, false};
        Host host(offers);
        Plugin plugin(clapModule(), host, kId);
        ASSERT_TRUE(plugin.init());
        const auto* gui = plugin.extension<clap::clap_plugin_gui>(clap::CLAP_EXT_GUI);
        ASSERT_NE(gui, nullptr);
        EXPECT_TRUE(gui->is_api_supported(plugin.get(), kApi, false));
        const bool created = gui->create(plugin.get(), kApi, false);
        EXPECT_EQ(created, !kNeedsHostLoop);
        if (created) gui->destroy(plugin.get());
    }
    // Embedded only, and only in the system's own windows.
    Host host;
    Plugin plugin(clapModule(), host, kId);
    ASSERT_TRUE(plugin.init());
    const auto* gui = plugin.extension<clap::clap_plugin_gui>(clap::CLAP_EXT_GUI);
    EXPECT_FALSE(gui->is_api_supported(plugin.get(), kApi, true));
    EXPECT_FALSE(gui->create(plugin.get(), kApi, true));
    EXPECT_FALSE(gui->create(plugin.get(), kOtherApi, false));
}

}  // namespace
