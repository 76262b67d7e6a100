#include "gui/platform/x11/x11_surface.h"

#include "gui/platform/x11/x11_palette.h"
#include "render/exception.h"
#include "render/font.h"
#include "render/gl_device.h"
#include "render/platform/glx/glx_visual.h"
#include "render/scene.h"
#include "render/shader.h"

namespace Wispkit::platform {

namespace {
constexpr float kFallbackCharWidth = 7;

class PainterScene : public Paintwell::Scene {
public:
    explicit PainterScene(const Surface::Painter& paint) : paint(paint) {}
    void draw(Paintwell::Context* context) override { paint(context); }

private:
    const Surface::Painter& paint;
};

}  // namespace

std::unique_ptr<Surface> Surface::create(Display* display, bool overrideRedirect, long eventMask) {
    std::unique_ptr<Surface> surface(new Surface(display));
    if (!surface->createWindow(overrideRedirect, eventMask)) return nullptr;
    try {
        surface->device = new Paintwell::GLDevice(Paintwell::NativeWindow{display, surface->window});
    } catch (const Paintwell::Exception&) {
        return nullptr;
    }
    surface->textFont = surface->device->createFont("Vera", 10);
    return surface;
}

Surface::~Surface() {
    if (textFont != nullptr) Paintwell::releaseFont(textFont);
    if (device != nullptr) device->release();
    if (window != 0) XDestroyWindow(display, window);
    if (colormap != 0) XFreeColormap(display, colormap);
    XFlush(display);
}

// The panel's colour as the background, so that whatever the server shows
// before the first frame arrives is never black.
bool Surface::createWindow(bool overrideRedirect, long eventMask) {
    XVisualInfo* visual = Paintwell::chooseWindowVisual(display, DefaultScreen(display));
    if (visual == nullptr) return false;
    ::Window root = RootWindow(display, visual->screen);
    colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    XSetWindowAttributes attributes{};
    attributes.colormap = colormap;
    attributes.border_pixel = 0;
    attributes.background_pixel = palette::pixelOf(*visual, palette::kPanel);
    attributes.override_redirect = overrideRedirect ? True : False;
    attributes.event_mask = eventMask;
    window = XCreateWindow(display, root, 0, 0, 1, 1, 0, visual->depth, InputOutput, visual->visual,
                           CWColormap | CWBorderPixel | CWBackPixel | CWOverrideRedirect | CWEventMask, &attributes);
    XFree(visual);
    return window != 0;
}

float Surface::textWidth(const std::string& text) const {
    return textFont != nullptr ? Paintwell::measureText(textFont, text.c_str(), static_cast<int>(text.size()))
                               : kFallbackCharWidth * static_cast<float>(text.size());
}

void Surface::place(const PopupRect& rect, const Painter& paint) {
    XMoveResizeWindow(display, window, rect.x, rect.y, static_cast<unsigned>(rect.width),
                      static_cast<unsigned>(rect.height));
    render(paint);
}

void Surface::render(const Painter& paint) {
    if (device == nullptr) return;
    PainterScene scene(paint);
    try {
        device->render(&scene);
    } catch (const Paintwell::Exception&) {
        // Keys and clicks are still answered.
    }
}

void fillRect(Paintwell::Context* context, float x, float y, float w, float h, std::uint32_t colour) {
    Paintwell::Shader plain(context, Paintwell::BlendNone, Paintwell::CombineColor);
    context->drawQuad(Paintwell::makeQuad(x, y, w, h, 0, 0, colour));
}

}  // namespace Wispkit::platform
