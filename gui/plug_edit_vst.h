// The editor object the host sees. It opens the editor's window inside the
// host's, reports the panel's size, keeps the editor's cache of parameter
// values and hears the core's notifications.
//
// Threads: construction, open, close, idle and the window's calls run on the
// host's UI thread. parameterChanged, dataReady and learnFinished may come
// from any thread (the audio thread included): they try the lock once and
// give up when it is held, so they never wait.
// Ownership: the effect owns the editor (deleted with the effect) and the
// descriptor; the builder is the effect's. The open window's wrapper owns
// the frame and the controls; the editor only points at the frame.
#pragma once

#include "core/parameter_table.h"
#include "core/editor.h"
#include "gui/edit_builder.h"
#include "gui/editor_descriptor.h"
#include "gui/frame_controller.h"
#include "gui/spin_lock.h"

#include <atomic>
#include <memory>

namespace PlugCore {
class Plug;
}

namespace Wispkit {

class IEditBuilder;
class PlugFrame;
class Winwrapper;

class PlugEditVST : public PlugCore::Editor, public IFrameController, public PlugCore::IParamNotify {
public:
    /// Registers itself as effect's editor, so the host learns of it.
    PlugEditVST(PlugCore::Plug* effect, IEditBuilder* builder, const EditorDescriptor* descriptor);
    ~PlugEditVST() override;

    bool getRect(const PlugCore::EditorRect** rect) override;
    /// Builds the window, the frame and the controls inside parentWindow.
    /// An editor already open makes nothing new; both answer true.
    bool open(void* parentWindow) override;
    /// Releases the tree's device resources; the window and the tree stay
    /// until the host destroys its window (on X11 they end here).
    void close() override;
    bool isOpen() const override { return frame != nullptr; }
    /// Pumps the window while open (it does nothing on Windows).
    void idle() override;
    void setVisible(bool visible) override;
    int eventFd() const override;

    void windowDestroyed() override;

    bool parameterChanged(std::uint32_t index, float value) override;
    void dataReady(void* data) override;
    void learnFinished(std::uint32_t index) override;

    // ---- for the frame (UI thread) ----
    PlugCore::Plug* plug() const { return plugEffect; }
    const EditorDescriptor& getDescriptor() const { return *descriptor; }
    PlugFrame* getFrame() const { return frame; }
    /// The cached value, 0 for an index the cache does not hold. Any thread.
    float cachedValue(unsigned index) const;
    /// Ignored for an index the cache does not hold. Any thread.
    void cacheValue(unsigned index, float value);
    SpinLock& lock() { return editorLock; }
    /// The shared data block and whether the frame has taken its contents;
    /// both under lock().
    unsigned char* sharedData() { return dataBlock.get(); }
    bool& sharedDataConsumed() { return dataConsumed; }

private:
    /// Releases the tree's device resources and forgets the frame; returns the
    /// wrapper that was open, or null.
    Winwrapper* closeFrame();

    PlugCore::Plug* plugEffect;
    const EditorDescriptor* descriptor;
    IEditBuilder* builder;
    PlugFrame* frame = nullptr;
    Winwrapper* wrapper = nullptr;
    SpinLock editorLock;
    bool dataConsumed = false;
    std::unique_ptr<unsigned char[]> dataBlock;
    PlugCore::EditorRect rect{};
    // Written by the core's notifications on any thread, read while drawing.
    std::unique_ptr<std::atomic<float>[]> valueCache;
};

}  // namespace Wispkit
