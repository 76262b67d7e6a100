// How an effect puts its controls on the editor's frame.
//
// Threads: the editor window's thread, from the editor's open. Ownership:
// the controls belong to the frame once made; the builder keeps nothing.
#pragma once

namespace Wispkit {

class PlugFrame;

class IEditBuilder {
public:
    virtual ~IEditBuilder() = default;
    /// Called on every open, right after the frame is made.
    virtual void build(PlugFrame* frame) = 0;
};

}  // namespace Wispkit
