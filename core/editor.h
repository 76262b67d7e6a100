// The editor an effect hands to its core: the panel a host embeds in a window
// of its own. The core owns the editor and deletes it with the effect; each
// format reaches it through Plug::getEditor.
//
// Threads: every call comes from the host's UI thread.
#pragma once

#include <cstdint>

namespace PlugCore {

/// The editor's extent in pixels, origin at its top-left corner.
struct EditorRect {
    std::int16_t top = 0;
    std::int16_t left = 0;
    std::int16_t bottom = 0;
    std::int16_t right = 0;
};

class Editor {
public:
    virtual ~Editor() = default;

    /// Points rect at the editor's extent, valid while the editor lives.
    virtual bool getRect(const EditorRect** rect) {
        *rect = nullptr;
        return false;
    }
    /// Builds the editor inside parentWindow (the platform's native window).
    virtual bool open(void* parentWindow) { return false; }
    virtual void close() {}
    virtual bool isOpen() const { return false; }
    /// Lets the editor do its work where the host gives it no thread of its own.
    virtual void idle() {}
    /// Takes the open editor off the screen or puts it back.
    virtual void setVisible(bool visible) {}
    /// A file descriptor the host may watch, calling idle when it is readable
    /// (the editor's window-system connection); -1 when there is none.
    virtual int eventFd() const { return -1; }
    // Keyboard hooks: this toolkit takes no keys.
    virtual bool onKeyDown(std::int32_t character, std::int32_t virtualKey, std::int32_t modifiers) { return false; }
    virtual bool onKeyUp(std::int32_t character, std::int32_t virtualKey, std::int32_t modifiers) { return false; }
    virtual bool onWheel(float distance) { return false; }
    virtual bool setKnobMode(std::int32_t mode) { return false; }
};

}  // namespace PlugCore
