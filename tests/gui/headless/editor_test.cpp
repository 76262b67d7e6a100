// The editor and its frame over a real core, with the in-memory window
// system: opening and closing, the value cache and its lock, the timer's
// delivery, the frame's view of the plug and the defaults menu.
#include "gui/image.h"
#include "gui/image_cache.h"
#include "gui/plug_edit_vst.h"
#include "gui/plug_frame.h"
#include "gui/plug_knob.h"
#include "gui/winwrapper.h"

#include "core/plug.h"
#include "services/user_prompt.h"
#include "core/scoped_env.h"
#include "fake_window.h"
#include "render/gl/recording_context.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

using HeadlessTest::windowSystem;

std::vector<std::string> hostCalls;

// Writes each gesture and value the host hears of as one line of hostCalls.
struct RecordingHost final : PlugCore::HostLink {
    void beginEdit(std::int32_t index) override { hostCalls.push_back("begin " + std::to_string(index)); }
    void endEdit(std::int32_t index) override { hostCalls.push_back("end " + std::to_string(index)); }
    void automate(std::int32_t index, float value) override {
        char text[48];
        std::snprintf(text, sizeof text, "automate %d %.4f", index, value);
        hostCalls.push_back(text);
    }
    void updateDisplay() override {}
    bool getTime(PlugCore::HostTime&) override { return false; }
} recordingHost;

// One controller event at the start of a block.
struct ControllerEvent final : PlugCore::EventQueue {
    ControllerEvent(int number, int value) : bytes{0xB0, std::uint8_t(number), std::uint8_t(value)} {}
    PlugCore::int32 size() const override { return 1; }
    std::int64_t frame(PlugCore::int32) const override { return 0; }
    PlugCore::HostEvent at(PlugCore::int32) const override {
        return {PlugCore::HostEvent::Kind::Midi, {bytes[0], bytes[1], bytes[2]}, 0, 0.0f};
    }
    std::uint8_t bytes[3];
};

class FramePlug : public PlugCore::Plug {
public:
    FramePlug() : Plug(&recordingHost, 4, 3, "Frame Test Plug", 1, 1) {
        params.defineParameter(0, "a", "dB", 0.25f);
        params.defineParameter(1, "b", "", 0.5f);
        params.defineParameter(2, "c", "", 0.75f);
    }
    void prepareProcessing() override {}
    void resetProcessing() override {}
    bool renderBlock(bool, const PlugCore::Transport*, double**, double**, std::uint32_t) override { return true; }
    void formatParameter(std::uint32_t, char* text, float value) override { std::snprintf(text, 32, "%.3f", value); }
};

class Builder : public Wispkit::IEditBuilder {
public:
    void build(Wispkit::PlugFrame* frame) override {
        ++builds;
        new Wispkit::PlugKnob(frame, frame, "knob", 1, 392, 4);  // reaches into the logo patch
    }
    int builds = 0;
};

// Owns the plug (which owns the editor) and a per-test user folder.
class Editor : public ::testing::Test {
protected:
    void SetUp() override {
        windowSystem() = HeadlessTest::WindowSystem{};
        hostCalls.clear();
#ifndef _WIN32
        folder = std::filesystem::temp_directory_path() /
                 ("editor_tests_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        xdg.emplace("XDG_CONFIG_HOME", folder.c_str());
#endif
        // The core's own questions (the factory bank is another effect's) are
        // answered No here, never by a dialog on the test display.
        Services::setPromptAnswerer([](int, const char*, const char*) { return 0; });
        plug = new FramePlug;
        editor = new Wispkit::PlugEditVST(plug, &builder, &descriptor);
        defaultsFile = plug->defaultsFilePath(false);
        std::filesystem::remove(defaultsFile);
    }
    void TearDown() override {
        // An editor still open when the effect goes leaves its window to the
        // host (as on Windows), which destroys it afterwards.
        Wispkit::Winwrapper* left = editor != nullptr && plug != nullptr && editor->isOpen()
                                        ? static_cast<Wispkit::Winwrapper*>(editor->getFrame()->getParent())
                                        : nullptr;
        delete plug;
        if (left != nullptr && windowSystem().windowsAlive > 0) left->windowGone();
        if (!defaultsFile.empty()) std::filesystem::remove(defaultsFile);
        Services::setPromptAnswerer(nullptr);
#ifndef _WIN32
        std::filesystem::remove_all(folder);
#endif
    }
    Wispkit::PlugFrame* openFrame() {
        editor->open(nullptr);
        return editor->getFrame();
    }
    // Picks item id of the menu the fake window system shows last.
    void choose(unsigned id) {
        auto* root = static_cast<Wispkit::Winwrapper*>(editor->getFrame()->getParent());
        root->command(id);
        root->menuClosed();
    }

    Wispkit::EditorDescriptor descriptor{480, 110, 0, 3, 0xE1804F, nullptr};
    Builder builder;
    FramePlug* plug = nullptr;
    Wispkit::PlugEditVST* editor = nullptr;
    std::filesystem::path folder;
    std::string defaultsFile;
#ifndef _WIN32
    std::optional<TallowTest::ScopedEnv> xdg;
#endif
};

TEST_F(Editor, OpeningTwiceMakesOneWindowAndClosingKeepsItUntilTheHostDestroysIt) {
    EXPECT_TRUE(editor->open(nullptr));
    EXPECT_TRUE(editor->open(nullptr));
    EXPECT_EQ(windowSystem().windowsCreated, 1);
    EXPECT_EQ(builder.builds, 1);
    EXPECT_EQ(windowSystem().timersRunning, 1);
    auto* first = static_cast<Wispkit::Winwrapper*>(editor->getFrame()->getParent());

    auto* root = static_cast<Wispkit::Winwrapper*>(editor->getFrame()->getParent());
    root->mouseEvent(Wispkit::MouseAction::Down, 432, 44, Wispkit::kLeftButton, 0, 0);  // a drag is running
    editor->close();
    EXPECT_EQ(hostCalls, (std::vector<std::string>{"begin 1", "end 1"}));  // the close ended it
    EXPECT_FALSE(editor->isOpen());
    EXPECT_EQ(windowSystem().windowsAlive, 1);  // Windows: the host's window still holds the tree
    EXPECT_EQ(windowSystem().timersRunning, 0);
    // ... hidden, so that no paint or input reaches a tree that still points
    // at the editor, which may be deleted before the host destroys the window.
    EXPECT_EQ(windowSystem().windowsShown, 0);
    // A late repaint request after the close finds no frame and touches none.
    const int invalidations = windowSystem().invalidations;
    EXPECT_TRUE(editor->parameterChanged(0, 0.5f));
    EXPECT_EQ(windowSystem().invalidations, invalidations);

    editor->open(nullptr);  // a second window inside the host's
    EXPECT_EQ(windowSystem().windowsCreated, 2);
    first->windowGone();  // the host destroys the first window: the open editor stays open
    EXPECT_TRUE(editor->isOpen());
    EXPECT_EQ(windowSystem().windowsAlive, 1);

    auto* second = static_cast<Wispkit::Winwrapper*>(editor->getFrame()->getParent());
    second->windowGone();  // destroyed while open: the editor closes
    EXPECT_FALSE(editor->isOpen());
    EXPECT_EQ(windowSystem().windowsAlive, 0);
}

TEST_F(Editor, CloseEndsTheWindowWhereTheWindowSystemAsksForIt) {
    windowSystem().closesWithEditor = true;  // as on X11
    for (int i = 0; i < 3; ++i) {
        editor->open(nullptr);
        editor->close();
        EXPECT_EQ(windowSystem().windowsAlive, 0);
    }
    EXPECT_EQ(windowSystem().windowsCreated, 3);
    editor->open(nullptr);  // deleting the effect with the editor open ends everything
    delete plug;
    plug = nullptr;
    EXPECT_EQ(windowSystem().windowsAlive, 0);
}

TEST_F(Editor, FirstTickDeliversEveryParameterAndABusyEditorGetsItLater) {
    plug->setParameter(0, 0.5f);
    plug->setParameter(2, 0.125f);
    Wispkit::PlugFrame* frame = openFrame();
    EXPECT_EQ(frame->getValue(0, nullptr), 0.25f);  // the cache still holds the values at construction
    const int invalidations = windowSystem().invalidations;
    frame->onTimer();
    EXPECT_EQ(frame->getValue(0, nullptr), 0.5f);
    EXPECT_EQ(frame->getValue(2, nullptr), 0.125f);
    EXPECT_EQ(windowSystem().invalidations, invalidations + 3);  // every parameter once
    frame->onTimer();
    EXPECT_EQ(windowSystem().invalidations, invalidations + 3);  // nothing changed since

    plug->setParameter(1, 1.0f);
    editor->lock().lock();
    EXPECT_FALSE(editor->parameterChanged(1, 1.0f));
    plug->parameters().syncToEditor(editor);
    editor->lock().unlock();
    EXPECT_EQ(frame->getValue(1, nullptr), 0.5f);
    frame->onTimer();
    EXPECT_EQ(frame->getValue(1, nullptr), 1.0f);
    editor->lock().lock();
    editor->learnFinished(1);  // only tries the lock
    editor->lock().unlock();
}

TEST_F(Editor, FrameEditsReachTheHostAsGesturesAndFillTheCache) {
    Wispkit::PlugFrame* frame = openFrame();
    frame->setEditing(2, true);
    frame->setValue(2, 0.5f);
    frame->setEditing(2, false);
    EXPECT_EQ(hostCalls, (std::vector<std::string>{"begin 2", "automate 2 0.5000", "end 2"}));
    EXPECT_EQ(frame->getValue(2, nullptr), 0.5f);
    hostCalls.clear();
    frame->resetValue(0);
    EXPECT_EQ(hostCalls, (std::vector<std::string>{"automate 0 0.2500"}));
    frame->resetValue(7);  // outside the table: the default is 0, the core ignores it
    EXPECT_EQ(frame->getValue(7, nullptr), 0.0f);

    char text[32];
    frame->getDefaultText(0, text);
    EXPECT_STREQ(text, "0.250 dB");
    frame->getChoiceText(1, 1, 4, text);
    EXPECT_STREQ(text, "0.333");
    frame->getChoiceText(1, 0, 1, text);  // a single choice stands at 0
    EXPECT_STREQ(text, "0.000");
    EXPECT_EQ(frame->getValue(2, text), 0.5f);
    EXPECT_STREQ(text, "0.500");
    EXPECT_EQ(frame->getMapping(9), -1);
}

TEST_F(Editor, LogoPatchOpensTheDefaultsMenuWithEitherButton) {
    Wispkit::PlugFrame* frame = openFrame();
    auto* root = static_cast<Wispkit::Winwrapper*>(frame->getParent());
    root->mouseEvent(Wispkit::MouseAction::Down, 470, 100, Wispkit::kRightButton, 0, 0);
    ASSERT_EQ(windowSystem().menusShown, 1);
    EXPECT_EQ(windowSystem().menuOwner, frame);
    const auto& items = windowSystem().menuItems;
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].text, "&Save defaults...");
    EXPECT_EQ(items[1].text, "&Load defaults...");
    EXPECT_EQ(items[2].text, "Load &factory defaults...");
    EXPECT_EQ(items[3].text, "-");
    EXPECT_EQ(items[4].text, Wispkit::PlugFrame::webSiteLabel());
    EXPECT_EQ(items[4].id, 3u);
    EXPECT_TRUE(items[4].enabled);  // this program is built with an address
    EXPECT_EQ(windowSystem().menuX, 480);
    EXPECT_EQ(windowSystem().menuY, 110);
    EXPECT_EQ(windowSystem().menuAlign, 1);
    choose(3);
    EXPECT_EQ(windowSystem().openedAddresses, (std::vector<std::string>{"https://example.invalid/tallow-reed"}));

    root->mouseEvent(Wispkit::MouseAction::Down, 470, 100, Wispkit::kLeftButton, 0, 0);
    EXPECT_EQ(windowSystem().menusShown, 2);
    // The knob that reaches into the patch takes its own clicks.
    root->mouseEvent(Wispkit::MouseAction::Down, 432, 60, Wispkit::kLeftButton, 0, 0);
    root->mouseEvent(Wispkit::MouseAction::Up, 432, 60, Wispkit::kLeftButton, 0, 0);
    EXPECT_EQ(windowSystem().menusShown, 2);
    EXPECT_EQ(hostCalls.front(), "begin 1");
    root->mouseEvent(Wispkit::MouseAction::Down, 300, 100, Wispkit::kLeftButton, 0, 0);  // outside the patch
    EXPECT_EQ(windowSystem().menusShown, 2);
}

TEST_F(Editor, DefaultsMenuAsksFirstAndCancelChangesNothing) {
    Wispkit::PlugFrame* frame = openFrame();
    const std::string caption = "Corvelight Frame Test Plug|";
    const std::string& path = defaultsFile;
    ASSERT_FALSE(path.empty());
    plug->setParameter(0, 0.75f);
    const int key = static_cast<std::int16_t>(0xB010);
    plug->parameters().assignController(0, key);

    windowSystem().confirmAnswer = false;
    for (unsigned id = 0; id < 3; ++id) frame->menuCommand(id);
    EXPECT_EQ(windowSystem().questions,
              (std::vector<std::string>{
                  caption + "Saving new defaults for:\n - parameter values (current values) and presets\n"
                            " - MIDI mappings (current mappings)\n",
                  caption + "Loading default settings and presets.",
                  caption + "Loading factory default settings and presets."}));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FLOAT_EQ(plug->getParameter(0), 0.75f);
    EXPECT_EQ(plug->program(1).values[0], 0.0f);
    EXPECT_EQ(plug->getMapping(0), key);
    EXPECT_EQ(plug->parameters()[0].defaultValue.load(), 0.25f);

    windowSystem().confirmAnswer = true;
    frame->menuCommand(0);  // save: the file, and the current values become the reset targets
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_FLOAT_EQ(plug->parameters()[0].defaultValue.load(), 0.75f);
    plug->setParameter(0, 0.5f);
    plug->parameters().assignController(0, -1);
    frame->menuCommand(1);  // load: the saved value and mapping come back
    EXPECT_FLOAT_EQ(plug->getParameter(0), 0.75f);
    EXPECT_EQ(plug->getMapping(0), key);
    plug->setParameter(0, 0.5f);
    frame->menuCommand(2);  // factory: every program takes the current values
    EXPECT_FLOAT_EQ(plug->program(1).values[0], 0.5f);
    frame->menuCommand(9);
    EXPECT_EQ(windowSystem().questions.size(), 6u);
}

}  // namespace

namespace {

TEST_F(Editor, MidiLearnFromTheContextMenuShowsTheMappingAndUnlearnsIt) {
    Wispkit::PlugFrame* frame = openFrame();
    auto* root = static_cast<Wispkit::Winwrapper*>(frame->getParent());
    root->mouseEvent(Wispkit::MouseAction::Down, 432, 44, Wispkit::kRightButton, 0, 0);  // the knob of parameter 1
    ASSERT_EQ(windowSystem().menuItems.size(), 4u);
    EXPECT_FALSE(windowSystem().menuItems[3].enabled);
    choose(1);
    EXPECT_TRUE(frame->isLearning(1));

    // Controller 7 on channel 1 arrives in the next block and completes the learn.
    plug->setSampleRate(48000.0f);
    plug->setBlockSize(64);
    plug->resume();
    const ControllerEvent controller(7, 127);
    plug->processEvents(&controller);
    std::vector<float> left(64), right(64);
    float* channels[2] = {left.data(), right.data()};
    plug->processReplacing(channels, channels, 64);
    EXPECT_FALSE(frame->isLearning(1));
    frame->onTimer();
    EXPECT_FLOAT_EQ(frame->getValue(1, nullptr), 1.0f);  // the controller moved its new parameter

    root->mouseEvent(Wispkit::MouseAction::Down, 432, 44, Wispkit::kRightButton, 0, 0);
    EXPECT_EQ(windowSystem().menuItems[3].text, "MIDI &Unlearn (chan:1, cc:7)");
    EXPECT_TRUE(windowSystem().menuItems[3].enabled);
    choose(2);
    EXPECT_EQ(plug->getMapping(1), -1);
}

}  // namespace

namespace {

TEST_F(Editor, FrameDrawsThePanelAndTheTintedLogoAndReleasesWhatItMade) {
    descriptor.textureName = "texture";
    Wispkit::PlugFrame* frame = openFrame();
    PaintwellTest::RecordingContext context;
    frame->draw(&context);
    ASSERT_GE(context.draws.size(), 3u);  // background, logo, then the knob
    const auto& panel = context.draws[0];
    EXPECT_EQ(panel.blend, Paintwell::BlendNone);
    ASSERT_EQ(panel.quads.size(), 1u);
    EXPECT_EQ(panel.quads[0].right, 480.0f);
    EXPECT_EQ(panel.quads[0].bottom, 110.0f);
    EXPECT_EQ(panel.quads[0].texRight, 480.0f);  // the whole image
    EXPECT_EQ(panel.quads[0].texBottom, 110.0f);
    const auto& logo = context.draws[1];
    EXPECT_EQ(logo.blend, Paintwell::BlendPremultiplied);
    EXPECT_EQ(logo.texture0, frame->getSheet());
    ASSERT_EQ(logo.quads.size(), 1u);
    EXPECT_EQ(logo.quads[0].left, 390.0f);
    EXPECT_EQ(logo.quads[0].top, 80.0f);
    EXPECT_EQ(logo.quads[0].texLeft, 422.0f);
    EXPECT_EQ(logo.quads[0].texBottom, 80.0f);
    EXPECT_EQ(logo.quads[0].colour, 0xFFE1804Fu);
    EXPECT_EQ(context.liveTextures, 2);

    frame->draw(&context);  // textures are made once per device
    EXPECT_EQ(context.liveTextures, 2);
    frame->releaseResources();
    EXPECT_EQ(context.liveTextures, 0);
    EXPECT_EQ(frame->getSheet(), nullptr);
}

}  // namespace

namespace {

TEST(ImageCache, KeepsTheFirstBackgroundAndDoesNotRetryAFailure) {
    Wispkit::freeCachedImages();
    const Wispkit::Image* panel = Wispkit::cachedImage(Wispkit::CachedImage::Background, "texture");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->getWidth(), 480u);
    EXPECT_EQ(panel->getHeight(), 110u);
    EXPECT_EQ(Wispkit::cachedImage(Wispkit::CachedImage::Background, "commonTextures"), panel);
    EXPECT_NE(Wispkit::cachedImage(Wispkit::CachedImage::Sheet, "commonTextures"), panel);

    Wispkit::freeCachedImages();
    EXPECT_EQ(Wispkit::cachedImage(Wispkit::CachedImage::Background, "no such picture"), nullptr);
    EXPECT_EQ(Wispkit::cachedImage(Wispkit::CachedImage::Background, "texture"), nullptr);
    Wispkit::freeCachedImages();
}

}  // namespace
