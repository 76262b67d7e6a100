// The editor's top container, the wrapper's only child: it draws the panel's
// background and logo, offers the defaults menu behind the logo, runs the
// editor's timer work and is every control's view of the plug (IPlugData).
//
// Threads: the editor window's thread. Ownership: the wrapper owns the frame
// and the frame its controls, textures and fonts; the editor is not owned.
#pragma once

#include "gui/container.h"
#include "gui/frame_controller.h"
#include "gui/plug_data.h"

#include <memory>

namespace Wispkit {

class PlugEditVST;

class PlugFrame : public Container, public IPlugData, public ITimerController {
public:
    /// Defaults menu ids.
    enum : unsigned { kSaveDefaults = 0, kLoadDefaults = 1, kFactoryDefaults = 2, kWebSite = 3 };

    /// A container at (0, 0) of the descriptor's size, child of parent.
    PlugFrame(Container* parent, PlugEditVST* editor);
    ~PlugFrame() override;

    void releaseResources() override;
    /// The whole frame takes part in routing, not only its children.
    bool hitTest(int x, int y) override { return true; }
    bool mouseDown(int x, int y, int button, int keys) override;
    void menuCommand(unsigned id) override;
    void draw(Paintwell::Context* context) override;

    /// Hands over the shared data block and offers the changed parameters to the editor.
    void onTimer() override;

    void setEditing(unsigned index, bool begin) override;
    void setValue(unsigned index, float value) override;
    void resetValue(unsigned index) override;
    void getDefaultText(unsigned index, char* text) override;
    void getChoiceText(unsigned index, unsigned choice, unsigned count, char* text) override;
    void beginLearn(unsigned index) override;
    void unlearn(unsigned index) override;
    void cancelLearn() override;
    int getMapping(unsigned index) override;
    bool isLearning(unsigned index) override;
    const void* getData(unsigned offset) override;
    float getValue(unsigned index, char* text) override;
    Paintwell::StaticTexture* getSheet() override { return sheet; }
    Paintwell::Font* getFont(unsigned which) override { return which == 0 ? smallFont : largeFont; }
    std::uint32_t getColour() override;

    /// The defaults menu's item that opens the maker's web site.
    static const char* webSiteLabel();
    /// The maker's address, empty when the build set none (the item is then disabled).
    static const char* webSiteAddress();

private:
    float defaultValue(unsigned index);
    void createResources(Paintwell::Context* context);
    void openDefaultsMenu();

    PlugEditVST* editor;
    std::unique_ptr<unsigned char[]> dataCopy;
    Paintwell::StaticTexture* background = nullptr;
    float backgroundWidth = 0;  // the background image's size in texels
    float backgroundHeight = 0;
    Paintwell::StaticTexture* sheet = nullptr;
    Paintwell::Font* smallFont = nullptr;
    Paintwell::Font* largeFont = nullptr;
    bool showLogo = true;
};

}  // namespace Wispkit
