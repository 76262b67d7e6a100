// The controls' one view of the plug-in: values from the editor's cache,
// edits as host-visible gestures, display texts, MIDI learn and the frame's
// drawing resources. Controls never reach the core any other way.
//
// Threads: the editor window's thread. Ownership: the frame implements it
// and outlives its controls. Text buffers are the caller's, 32 bytes.
#pragma once

#include <cstdint>

namespace Paintwell {
struct Font;
class StaticTexture;
}  // namespace Paintwell

namespace Wispkit {

class IPlugData {
public:
    virtual ~IPlugData() = default;
    /// Opens (begin true) or closes the host's edit gesture on index.
    virtual void setEditing(unsigned index, bool begin) = 0;
    /// Stores and reports value, and keeps it in the editor's cache.
    virtual void setValue(unsigned index, float value) = 0;
    /// Sets the parameter to its reset target.
    virtual void resetValue(unsigned index) = 0;
    virtual void getDefaultText(unsigned index, char* text) = 0;
    /// The text of choice out of count choices, spread evenly over 0 to 1.
    virtual void getChoiceText(unsigned index, unsigned choice, unsigned count, char* text) = 0;
    virtual void beginLearn(unsigned index) = 0;
    virtual void unlearn(unsigned index) = 0;
    virtual void cancelLearn() = 0;
    /// The controller key mapped to index, or -1.
    virtual int getMapping(unsigned index) = 0;
    virtual bool isLearning(unsigned index) = 0;
    /// The frame's copy of the shared data block at offset.
    virtual const void* getData(unsigned offset) = 0;
    /// The cached value; its display text too when text is not null.
    virtual float getValue(unsigned index, char* text) = 0;
    /// The common-textures sheet, null before the first draw.
    virtual Paintwell::StaticTexture* getSheet() = 0;
    /// 0: the small font, 1: the large one; null before the first draw.
    virtual Paintwell::Font* getFont(unsigned which) = 0;
    /// The accent colour 0xRRGGBB.
    virtual std::uint32_t getColour() = 0;
};

}  // namespace Wispkit
