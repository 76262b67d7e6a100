#include "gui/plug_edit_vst.h"

#include "core/plug.h"
#include "gui/edit_builder.h"
#include "gui/plug_frame.h"
#include "gui/winwrapper.h"

#include <cstring>

namespace Wispkit {

PlugEditVST::PlugEditVST(PlugCore::Plug* effect, IEditBuilder* builder, const EditorDescriptor* descriptor)
    : plugEffect(effect), descriptor(descriptor), builder(builder) {
    rect.top = 0;
    rect.left = 0;
    rect.bottom = static_cast<std::int16_t>(descriptor->height);
    rect.right = static_cast<std::int16_t>(descriptor->width);
    if (descriptor->numParams > 0) {
        valueCache = std::make_unique<std::atomic<float>[]>(descriptor->numParams);
        for (unsigned i = 0; i < descriptor->numParams; ++i)
            valueCache[i].store(effect->getParameter(static_cast<PlugCore::int32>(i)), std::memory_order_relaxed);
    }
    // The first timer tick after an open then reports every parameter.
    PlugCore::ParameterTable& table = effect->parameters();
    for (std::uint32_t i = 0; i < table.size(); ++i) table[i].editorSeen.store(-1.0f, std::memory_order_relaxed);
    if (descriptor->dataSize > 0) dataBlock = std::make_unique<unsigned char[]>(descriptor->dataSize);
    // Last: once registered, the host may reach the editor.
    effect->setEditor(this);
}

PlugEditVST::~PlugEditVST() {
    if (isOpen()) close();
}

bool PlugEditVST::getRect(const PlugCore::EditorRect** out) {
    *out = &rect;
    return true;
}

bool PlugEditVST::open(void* parentWindow) {
    editorLock.lock();
    if (!isOpen()) {
        try {
            wrapper = new Winwrapper(this, descriptor->width, descriptor->height, parentWindow);
            frame = new PlugFrame(wrapper, this);
            if (builder != nullptr) builder->build(frame);
            wrapper->setTimerTarget(frame);
        } catch (...) {
            editorLock.unlock();
            throw;
        }
    }
    editorLock.unlock();
    return true;
}

Winwrapper* PlugEditVST::closeFrame() {
    editorLock.lock();
    Winwrapper* closed = nullptr;
    if (isOpen()) {
        closed = wrapper;
        frame->getParent()->releaseResources();
        // Nothing of the tree may reach this editor any more: it may be
        // deleted before the host destroys the window that holds the tree.
        closed->setTimerTarget(nullptr);
        closed->detachController();
        frame = nullptr;
        wrapper = nullptr;
    }
    editorLock.unlock();
    return closed;
}

void PlugEditVST::close() {
    // A drag still running ends its host gesture now, while the editor and
    // the effect are sure to be alive.
    if (isOpen()) wrapper->captureMouse(nullptr);
    // Outside the lock: on X11 this deletes the wrapper and its tree now.
    if (Winwrapper* closed = closeFrame()) closed->closeWindow();
}

void PlugEditVST::idle() {
    if (wrapper != nullptr) wrapper->idle();
}

void PlugEditVST::setVisible(bool visible) {
    if (wrapper != nullptr) wrapper->setVisible(visible);
}

int PlugEditVST::eventFd() const { return wrapper != nullptr ? wrapper->eventFd() : -1; }

void PlugEditVST::windowDestroyed() {
    // The window is already going; only the editor's side is left to end.
    closeFrame();
}

float PlugEditVST::cachedValue(unsigned index) const {
    return index < descriptor->numParams ? valueCache[index].load(std::memory_order_relaxed) : 0.0f;
}

void PlugEditVST::cacheValue(unsigned index, float value) {
    if (index < descriptor->numParams) valueCache[index].store(value, std::memory_order_relaxed);
}

bool PlugEditVST::parameterChanged(std::uint32_t index, float value) {
    if (!editorLock.tryLock()) return false;
    cacheValue(index, value);
    // After close no frame is left to repaint; the value waits in the cache.
    if (frame != nullptr) frame->redraw();
    editorLock.unlock();
    return true;
}

void PlugEditVST::dataReady(void* data) {
    if (!editorLock.tryLock()) return;
    if (dataConsumed && dataBlock != nullptr && data != nullptr) {
        dataConsumed = false;
        std::memcpy(dataBlock.get(), data, descriptor->dataSize);
    }
    editorLock.unlock();
}

void PlugEditVST::learnFinished(std::uint32_t) {
    // The new mapping shows at the next repaint; the lock is only tried, so
    // the audio thread that completed the learn never waits here.
    if (editorLock.tryLock()) editorLock.unlock();
}

}  // namespace Wispkit
