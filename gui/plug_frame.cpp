#include "gui/plug_frame.h"

#include "core/plug.h"
#include "gui/edit_gesture.h"
#include "gui/editor_descriptor.h"
#include "gui/image_cache.h"
#include "gui/menu.h"
#include "gui/platform/native_window.h"
#include "gui/plug_edit_vst.h"
#include "render/context.h"
#include "render/font.h"
#include "gui/image.h"
#include "render/shader.h"
#include "render/texture.h"

#include <cstring>

// The build sets the web-site item's text and address; without an address
// the item is listed but disabled.
#ifndef TALLOW_WEBSITE_LABEL
#define TALLOW_WEBSITE_LABEL "Corvelight on the &web"
#endif
#ifndef TALLOW_WEBSITE_URL
#define TALLOW_WEBSITE_URL ""
#endif

namespace Wispkit {

namespace {

// The logo patch in the panel's bottom-right corner and on the sheet.
constexpr int kLogoWidth = 90;
constexpr int kLogoHeight = 30;
constexpr float kLogoSheetX = 422.0f;
constexpr float kLogoSheetY = 50.0f;

const char* const kSaveText =
    "Saving new defaults for:\n - parameter values (current values) and presets\n"
    " - MIDI mappings (current mappings)\n";
const char* const kLoadText = "Loading default settings and presets.";
const char* const kFactoryText = "Loading factory default settings and presets.";

}  // namespace

PlugFrame::PlugFrame(Container* parent, PlugEditVST* editor)
    : Container(parent, 0, 0, static_cast<unsigned>(editor->getDescriptor().width),
                static_cast<unsigned>(editor->getDescriptor().height)),
      editor(editor) {
    const unsigned size = editor->getDescriptor().dataSize;
    if (size > 0) dataCopy = std::make_unique<unsigned char[]>(size);
}

PlugFrame::~PlugFrame() {
    releaseResources();
    deleteChildren();
}

const char* PlugFrame::webSiteLabel() { return TALLOW_WEBSITE_LABEL; }

const char* PlugFrame::webSiteAddress() { return TALLOW_WEBSITE_URL; }

// ---- timer ------------------------------------------------------------------

void PlugFrame::onTimer() {
    unsigned char* block = editor->sharedData();
    if (dataCopy != nullptr && block != nullptr) {
        bool copied = false;
        editor->lock().lock();
        if (!editor->sharedDataConsumed()) {
            std::memcpy(dataCopy.get(), block, editor->getDescriptor().dataSize);
            editor->sharedDataConsumed() = true;
            copied = true;
        }
        editor->lock().unlock();
        if (copied) redraw();
    }
    editor->plug()->parameters().syncToEditor(editor);
}

// ---- IPlugData ----------------------------------------------------------------

void PlugFrame::setEditing(unsigned index, bool begin) {
    const auto i = static_cast<PlugCore::int32>(index);
    if (begin) editor->plug()->beginEdit(i);
    else
        editor->plug()->endEdit(i);
}

void PlugFrame::setValue(unsigned index, float value) {
    editor->plug()->setParameterAutomated(static_cast<PlugCore::int32>(index), value);
    editor->cacheValue(index, value);
}

float PlugFrame::defaultValue(unsigned index) {
    const PlugCore::ParameterTable& table = editor->plug()->parameters();
    return index < table.size() ? table[index].defaultValue.load(std::memory_order_relaxed) : 0.0f;
}

void PlugFrame::resetValue(unsigned index) {
    editor->plug()->setParameterAutomated(static_cast<PlugCore::int32>(index), defaultValue(index));
}

void PlugFrame::getDefaultText(unsigned index, char* text) {
    text[0] = 0;
    editor->plug()->getParameterText(index, defaultValue(index), text);
}

void PlugFrame::getChoiceText(unsigned index, unsigned choice, unsigned count, char* text) {
    text[0] = 0;
    editor->plug()->getParameterText(index, choiceValue(choice, count), text);
}

void PlugFrame::beginLearn(unsigned index) { editor->plug()->beginLearn(static_cast<PlugCore::int32>(index)); }

void PlugFrame::unlearn(unsigned index) { editor->plug()->unlearn(static_cast<PlugCore::int32>(index)); }

void PlugFrame::cancelLearn() { editor->plug()->cancelLearn(); }

int PlugFrame::getMapping(unsigned index) { return editor->plug()->getMapping(static_cast<PlugCore::int32>(index)); }

bool PlugFrame::isLearning(unsigned index) { return editor->plug()->isLearning(static_cast<PlugCore::int32>(index)); }

const void* PlugFrame::getData(unsigned offset) { return dataCopy != nullptr ? dataCopy.get() + offset : nullptr; }

float PlugFrame::getValue(unsigned index, char* text) {
    const float value = editor->cachedValue(index);
    if (text != nullptr) {
        text[0] = 0;
        editor->plug()->getParameterText(index, value, text);
    }
    return value;
}

std::uint32_t PlugFrame::getColour() { return editor->getDescriptor().colour; }

// ---- mouse and menus ----------------------------------------------------------

bool PlugFrame::mouseDown(int x, int y, int button, int keys) {
    if (Container::mouseDown(x, y, button, keys)) return false;
    if (x > static_cast<int>(width) - kLogoWidth && y > static_cast<int>(height) - kLogoHeight) {
        openDefaultsMenu();
        return true;
    }
    return false;
}

void PlugFrame::openDefaultsMenu() {
    Menu* menu = createMenu(this);
    if (menu == nullptr) return;
    menu->addItem("&Save defaults...", kSaveDefaults, true);
    menu->addItem("&Load defaults...", kLoadDefaults, true);
    menu->addItem("Load &factory defaults...", kFactoryDefaults, true);
    menu->addSeparator();
    menu->addItem(webSiteLabel(), kWebSite, *webSiteAddress() != 0);
    menu->show(static_cast<int>(width), static_cast<int>(height), Menu::kAlignRight);
    delete menu;
}

void PlugFrame::menuCommand(unsigned id) {
    PlugCore::Plug* plug = editor->plug();
    char caption[64] = {};
    plug->getProductString(caption, sizeof caption);
    switch (id) {
    case kSaveDefaults: confirm(caption, kSaveText, [plug] { plug->saveDefaultsFile(); }); break;
    case kLoadDefaults:
        confirm(caption, kLoadText, [plug] {
            plug->loadFactoryBank();
            plug->loadDefaultsFile();
        });
        break;
    case kFactoryDefaults: confirm(caption, kFactoryText, [plug] { plug->loadFactoryBank(); }); break;
    case kWebSite: platform::openAddress(webSiteAddress()); break;
    default: break;
    }
}

// ---- drawing --------------------------------------------------------------------

void PlugFrame::createResources(Paintwell::Context* context) {
    const EditorDescriptor& descriptor = editor->getDescriptor();
    if (background == nullptr && descriptor.textureName != nullptr) {
        if (const Image* image = cachedImage(CachedImage::Background, descriptor.textureName)) {
            background = image->createTexture(context->getDevice());
            backgroundWidth = static_cast<float>(image->getWidth());
            backgroundHeight = static_cast<float>(image->getHeight());
        }
    }
    if (sheet == nullptr) {
        if (const Image* image = cachedImage(CachedImage::Sheet, "commonTextures"))
            sheet = image->createTexture(context->getDevice());
    }
    if (smallFont == nullptr) smallFont = context->createFont("Vera", 8);
    if (largeFont == nullptr) largeFont = context->createFont("Vera", 10);
}

void PlugFrame::draw(Paintwell::Context* context) {
    createResources(context);
    const auto w = static_cast<float>(width);
    const auto h = static_cast<float>(height);
    if (background != nullptr) {
        const float iw = backgroundWidth;
        const float ih = backgroundHeight;
        Paintwell::Shader shader(context, Paintwell::BlendNone, Paintwell::CombineModulate, background, nullptr);
        context->drawQuad(Paintwell::Quad{0, 0, w, h, 0, 0, iw, ih, 0, 0, iw, ih, 0xFFFFFFFFu});
    }
    if (sheet != nullptr && showLogo) {
        Paintwell::Shader shader(context, Paintwell::BlendPremultiplied, Paintwell::CombineModulate, sheet, nullptr);
        context->drawQuad(Paintwell::makeQuad(w - kLogoWidth, h - kLogoHeight, kLogoWidth, kLogoHeight, kLogoSheetX,
                                              kLogoSheetY, getColour() | 0xFF000000u));
    }
    Container::draw(context);
}

void PlugFrame::releaseResources() {
    if (background != nullptr) background->release();
    background = nullptr;
    if (sheet != nullptr) sheet->release();
    sheet = nullptr;
    Paintwell::releaseFont(smallFont);
    smallFont = nullptr;
    Paintwell::releaseFont(largeFont);
    largeFont = nullptr;
    Container::releaseResources();
}

}  // namespace Wispkit
