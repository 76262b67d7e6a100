// The CLAP form as a host drives it: the factory, the lifecycle at several
// rates and block sizes, parameter events at their frame, MIDI, state within
// and across forms, and the same sound as the VST 2.4 form.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/host/clap/clap_host.h"
#include "test_host.h"

using namespace ClapHost;

namespace {

constexpr char kId[] = "com.corvelight.tallow-reed";

const Module& clapModule() {
    static std::unique_ptr<Module> module = [] {
        std::string error;
        auto m = Module::load(TALLOW_CLAP_PATH, error);
        if (!m) ADD_FAILURE() << "cannot load " << TALLOW_CLAP_PATH << ": " << error;
        return m;
    }();
    return *module;
}

// One instance, initialised and activated at rate with blocks of up to maxFrames.
struct Instance {
    explicit Instance(double rate = 44100.0, std::uint32_t maxFrames = 512) : plugin(clapModule(), host, kId) {
        EXPECT_TRUE(plugin.init());
        EXPECT_TRUE(plugin.activate(rate, 1, maxFrames));
        EXPECT_TRUE(plugin.startProcessing());
    }
    const clap::clap_plugin_params_t* params() const {
        return plugin.extension<clap::clap_plugin_params_t>("clap.params");
    }
    const clap::clap_plugin_state_t* state() const { return plugin.extension<clap::clap_plugin_state_t>("clap.state"); }

    /// Renders the test signal in blocks of `block`, handing each block's events from `events`.
    template <typename T>
    HostTest::Stereo<T> render(std::size_t frames, std::uint32_t block, InputEvents* events = nullptr,
                               bool inPlace = false) {
        HostTest::Stereo<T> in = HostTest::testSignal<T>(frames), out(frames);
        for (std::size_t at = 0; at < frames; at += block) {
            const auto n = static_cast<std::uint32_t>(std::min<std::size_t>(block, frames - at));
            StereoBuffers audio(
                n, sizeof(T) == 4 ? StereoBuffers::Precision::Float32 : StereoBuffers::Precision::Float64, inPlace);
            for (int c = 0; c < 2; ++c)
                std::copy_n((c ? in.right : in.left).begin() + static_cast<std::ptrdiff_t>(at), n, audio.input<T>(c));
            InputEvents none;
            OutputEvents sent;
            clap::clap_process p = makeProcess(audio, n, at == 0 && events ? *events : none, sent);
            EXPECT_EQ(plugin.process(p), clap::CLAP_PROCESS_CONTINUE);
            T* left = inPlace ? audio.input<T>(0) : audio.output<T>(0);
            T* right = inPlace ? audio.input<T>(1) : audio.output<T>(1);
            std::copy_n(left, n, out.left.begin() + static_cast<std::ptrdiff_t>(at));
            std::copy_n(right, n, out.right.begin() + static_cast<std::ptrdiff_t>(at));
            output.push_back(sent.types());
        }
        return out;
    }

    std::vector<std::uint8_t> save() {
        OutputStream stream;
        EXPECT_TRUE(state()->save(plugin.get(), stream.stream()));
        return stream.bytes;
    }

    Host host;
    Plugin plugin;
    std::vector<std::vector<std::uint16_t>> output;  // the event types each block sent
};

template <typename T>
bool sameSamples(const HostTest::Stereo<T>& a, const HostTest::Stereo<T>& b) {
    return a.left == b.left && a.right == b.right;
}

// The VST 2.4 module's bank chunk, as the host tests read it.
std::vector<std::uint8_t> vstBank(const HostTest::Effect& e) {
    void* data = nullptr;
    const auto size = e.dispatch(vst::effGetChunk, 0, 0, &data);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return std::vector<std::uint8_t>(bytes, bytes + size);
}

class Clap : public ::testing::Test {
protected:
    void SetUp() override { HostTest::host().reset(); }
};

}  // namespace

TEST_F(Clap, TheFactoryListsOneEffectAndMakesItOnlyForItsExactId) {
    const auto descriptors = clapModule().descriptors();
    ASSERT_EQ(descriptors.size(), 1u);
    const clap::clap_plugin_descriptor& d = *descriptors[0];
    EXPECT_STREQ(d.id, kId);
    EXPECT_STREQ(d.name, "Tallow Reed");
    EXPECT_STREQ(d.vendor, "Corvelight");
    EXPECT_STREQ(d.version, TALLOW_VERSION);
    std::vector<std::string> features;
    for (const char* const* f = d.features; *f; ++f) features.emplace_back(*f);
    EXPECT_EQ(features, (std::vector<std::string>{"audio-effect", "chorus", "flanger", "stereo"}));

    Host host;
    for (const char* wrong : {"com.corvelight.tallow-reedX", "com.corvelight.tallow", ""})
        EXPECT_EQ(Plugin(clapModule(), host, wrong).get(), nullptr) << wrong;
    // More init and deinit pairs on the loaded module change nothing.
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(clapModule().entry().init(TALLOW_CLAP_PATH));
    for (int i = 0; i < 3; ++i) clapModule().entry().deinit();
    Plugin made(clapModule(), host, kId);
    ASSERT_NE(made.get(), nullptr);
    EXPECT_TRUE(made.init());
    EXPECT_TRUE(host.snapshot().problems.empty());
}

TEST_F(Clap, RunsAtEveryRateAndBlockSizeWithFiniteOutputAndFixedLatency) {
    for (double rate : {44100.0, 48000.0, 96000.0}) {
        for (std::uint32_t block : {1u, 7u, 64u, 512u, 4096u}) {
            Instance fx(rate, block);
            const auto* latency = fx.plugin.extension<clap::clap_plugin_latency_t>("clap.latency");
            ASSERT_NE(latency, nullptr);
            EXPECT_EQ(latency->get(fx.plugin.get()), 16u);
            const HostTest::Stereo<float> out = fx.render<float>(std::max<std::size_t>(4096, 3 * block), block);
            bool finite = true, sound = false;
            for (float x : out.left) finite &= std::isfinite(x), sound |= x != 0.0f;
            EXPECT_TRUE(finite && sound) << rate << " Hz, blocks of " << block;
            EXPECT_TRUE(fx.host.snapshot().problems.empty());
            EXPECT_EQ(fx.host.snapshot().restartRequests, 0);
        }
    }
}

// The same settings through both forms give the same bits, in both precisions
// and in place.
TEST_F(Clap, SoundsExactlyAsTheVst2Form) {
    HostTest::Effect vst;
    vst.start(48000.0f, 256);
    vst->setParameter(vst.get(), 2, 0.9f);  // depth
    vst->setParameter(vst.get(), 8, 0.2f);  // range
    const std::size_t frames = 6000;
    HostTest::Stereo<float> in = HostTest::testSignal<float>(frames), want(frames);
    for (std::size_t at = 0; at < frames; at += 256) {
        const auto n = static_cast<vst::int32>(std::min<std::size_t>(256, frames - at));
        float* ins[2] = {in.left.data() + at, in.right.data() + at};
        float* outs[2] = {want.left.data() + at, want.right.data() + at};
        vst->processReplacing(vst.get(), ins, outs, n);
    }
    for (bool inPlace : {false, true}) {
        Instance fx(48000.0, 256);
        InputEvents settings;
        settings.add(paramValue(0, 2, 0.9));
        settings.add(paramValue(0, 8, 0.0));  // range choice 0 is what 0.2 means
        EXPECT_TRUE(sameSamples(fx.render<float>(frames, 256, &settings, inPlace), want)) << "in place " << inPlace;
    }
    // 64-bit buffers take the double path the VST 2.4 form's double entry takes.
    HostTest::Effect vst64;
    vst64.start(48000.0f, 256);
    HostTest::Stereo<double> in64 = HostTest::testSignal<double>(frames), want64(frames);
    for (std::size_t at = 0; at < frames; at += 256) {
        const auto n = static_cast<vst::int32>(std::min<std::size_t>(256, frames - at));
        double* ins[2] = {in64.left.data() + at, in64.right.data() + at};
        double* outs[2] = {want64.left.data() + at, want64.right.data() + at};
        vst64->processDoubleReplacing(vst64.get(), ins, outs, n);
    }
    Instance fx(48000.0, 256);
    EXPECT_TRUE(sameSamples(fx.render<double>(frames, 256), want64));
}

TEST_F(Clap, AParameterEventChangesTheOutputFromItsFrameOn) {
    constexpr std::uint32_t kAt = 300;
    Instance plain(44100.0, 1024), changed(44100.0, 1024), foreign(44100.0, 1024);
    InputEvents wet, elsewhere;
    wet.add(paramValue(kAt, 5, 0.0));  // wet to 0: dry signal only
    clap::clap_event_param_value other = paramValue(kAt, 5, 0.0);
    other.header.space_id = 7;  // another event space: not ours to read
    elsewhere.add(other);
    const auto a = plain.render<float>(1024, 1024);
    const auto b = changed.render<float>(1024, 1024, &wet);
    const auto c = foreign.render<float>(1024, 1024, &elsewhere);
    EXPECT_TRUE(std::equal(a.left.begin(), a.left.begin() + kAt, b.left.begin()));
    EXPECT_NE(a.left[kAt + 20], b.left[kAt + 20]);
    EXPECT_TRUE(sameSamples(a, c));
    double v = -1.0;
    ASSERT_TRUE(changed.params()->get_value(changed.plugin.get(), 5, &v));
    EXPECT_EQ(v, 0.0);
    // The host's own value is not sent back to it.
    EXPECT_TRUE(changed.output[0].empty());
}

TEST_F(Clap, StateIsTheVst2BankChunkAndLoadsInEitherForm) {
    HostTest::Effect vst;
    const std::vector<std::uint8_t> fresh = vstBank(vst);
    Instance fx;
    EXPECT_EQ(fx.save(), fresh);

    // A VST 2.4 bank with changes, read one byte at a time, saves back the same bytes.
    vst->setParameter(vst.get(), 1, 0.75f);
    vst.dispatch(vst::effSetProgram, 0, 5);
    const std::vector<std::uint8_t> edited = vstBank(vst);
    InputStream slow(edited);
    slow.chunk = 1;
    ASSERT_TRUE(fx.state()->load(fx.plugin.get(), slow.stream()));
    EXPECT_EQ(fx.save(), edited);
    EXPECT_EQ(slow.readsAfterEnd, 0);
    fx.plugin.onMainThread();
    const auto rescans = fx.host.snapshot().rescans;
    ASSERT_FALSE(rescans.empty());
    EXPECT_EQ(rescans.back(), clap::CLAP_PARAM_RESCAN_VALUES);

    // ... and what the CLAP form saves loads into the VST 2.4 form.
    HostTest::Effect other;
    std::vector<std::uint8_t> bytes = fx.save();
    other.dispatch(vst::effSetChunk, 0, static_cast<vst::VstIntPtr>(bytes.size()), bytes.data());
    EXPECT_EQ(vstBank(other), edited);
}

// Qtractor loads a session's state and sets its stored values just after; a
// rescan or a dirty mark from inside the load would mark the session it just
// opened as modified. The values are announced from the next main-thread
// call, and the mappings the state holds are the host's own.
TEST_F(Clap, AStateLoadMarksNothingAndRescansFromTheNextMainThreadCall) {
    Instance source;
    InputEvents move;
    move.add(paramValue(0, 2, 0.25));
    OutputEvents ignored;
    source.plugin.flush(move, ignored);
    std::vector<std::uint8_t> saved = source.save();
    const std::uint8_t mapping[] = {1, 2, 0x14, 0xB0};  // controller 20 moves depth
    saved.insert(saved.end(), std::begin(mapping), std::end(mapping));

    Instance fx;
    fx.host.clearRecord();
    InputStream stream(saved);
    ASSERT_TRUE(fx.state()->load(fx.plugin.get(), stream.stream()));
    HostRecord record = fx.host.snapshot();
    EXPECT_TRUE(record.rescans.empty());
    EXPECT_GE(record.callbackRequests, 1);
    fx.plugin.onMainThread();
    record = fx.host.snapshot();
    EXPECT_EQ(record.rescans, (std::vector<clap::clap_param_rescan_flags>{clap::CLAP_PARAM_RESCAN_VALUES}));
    EXPECT_EQ(record.dirtyMarks, 0);
    EXPECT_EQ(fx.save(), saved);
}

TEST_F(Clap, BadStatesAreRefusedWithoutHarm) {
    HostTest::host().promptAnswer = 0;
    Instance fx;
    const std::vector<std::uint8_t> before = fx.save();
    InputStream empty(std::vector<std::uint8_t>{});
    EXPECT_FALSE(fx.state()->load(fx.plugin.get(), empty.stream()));
    InputStream broken(before);
    broken.errorAt = before.size() / 2;
    EXPECT_FALSE(fx.state()->load(fx.plugin.get(), broken.stream()));
    std::vector<std::uint8_t> garbage(before.size(), 0xA5);
    InputStream junk(garbage);
    EXPECT_FALSE(fx.state()->load(fx.plugin.get(), junk.stream()));
    EXPECT_EQ(fx.save(), before);  // none of them changed a thing
    OutputStream full;
    full.errorAt = 10;
    EXPECT_FALSE(fx.state()->save(fx.plugin.get(), full.stream()));
}

// A program change by MIDI moves the values inside the block; the host hears
// them without a gesture, flagged not to be recorded, and a rescan follows.
TEST_F(Clap, ValuesTheEffectChangesReachTheHostUnrecorded) {
    Instance fx;
    InputEvents program;
    program.add(midi(10, 0xC0, 3, 0));  // program change to program 4
    StereoBuffers audio(64);
    OutputEvents sent;
    clap::clap_process p = makeProcess(audio, 64, program, sent);
    fx.plugin.process(p);
    ASSERT_GT(sent.size(), 0u);
    for (std::size_t i = 0; i < sent.size(); ++i) {
        ASSERT_EQ(sent.header(i).type, clap::CLAP_EVENT_PARAM_VALUE);
        EXPECT_TRUE(sent.header(i).flags & clap::CLAP_EVENT_DONT_RECORD);
    }
    EXPECT_TRUE(sent.problems.empty());
    fx.plugin.onMainThread();
    const auto record = fx.host.snapshot();
    EXPECT_GE(record.callbackRequests, 1);
    ASSERT_FALSE(record.rescans.empty());
    EXPECT_EQ(record.rescans.back(), clap::CLAP_PARAM_RESCAN_VALUES);
}

TEST_F(Clap, ParameterInfoAndTexts) {
    Instance fx;
    const auto* params = fx.params();
    ASSERT_EQ(params->count(fx.plugin.get()), 9u);
    clap::clap_param_info info{};
    ASSERT_TRUE(params->get_info(fx.plugin.get(), 8, &info));
    EXPECT_STREQ(info.name, "range");
    EXPECT_EQ(info.max_value, 3.0);
    EXPECT_EQ(info.default_value, 2.0);
    EXPECT_TRUE(info.flags & clap::CLAP_PARAM_IS_ENUM);
    ASSERT_TRUE(params->get_info(fx.plugin.get(), 6, &info));
    EXPECT_EQ(info.flags, clap::CLAP_PARAM_IS_AUTOMATABLE | clap::CLAP_PARAM_IS_STEPPED);
    ASSERT_TRUE(params->get_info(fx.plugin.get(), 1, &info));
    EXPECT_EQ(info.default_value, 0.5);
    EXPECT_FALSE(params->get_info(fx.plugin.get(), 9, &info));

    char text[64];
    ASSERT_TRUE(params->value_to_text(fx.plugin.get(), 1, 0.5, text, sizeof text));
    EXPECT_STREQ(text, "1.00 Hz");
    ASSERT_TRUE(params->value_to_text(fx.plugin.get(), 8, 1.0, text, sizeof text));
    EXPECT_STREQ(text, "10 ms");
    double v = 0.0;
    EXPECT_TRUE(params->text_to_value(fx.plugin.get(), 6, "sine", &v));
    EXPECT_EQ(v, 1.0);
    EXPECT_TRUE(params->text_to_value(fx.plugin.get(), 2, "80 %", &v));
    EXPECT_EQ(v, static_cast<double>(0.8f));
    EXPECT_FALSE(params->text_to_value(fx.plugin.get(), 2, "loud", &v));
    EXPECT_FALSE(params->text_to_value(fx.plugin.get(), 12, "1", &v));
}
