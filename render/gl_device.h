// The OpenGL device: one GL context bound to one native window, which is at
// the same time the context a scene draws through. Fixed-function GL 1.x with
// multitexturing and texture-env-combine; no depth buffer, no shaders.
//
// Threads: only the thread that owns the window. Ownership: the creator owns
// the device and ends it with release(); textures and fonts made from it
// belong to their creators and must be released first (a device released
// with textures alive writes a leak warning).
#pragma once

#include "render/context.h"
#include "render/device.h"
#include "render/gl_api.h"
#include "render/native_window.h"
#include "render/platform/gl_platform.h"

#include <cstddef>

namespace Paintwell {

class GLTexture;
class ContextLock;

class GLDevice final : public Device, public Context {
public:
    /// Creates the context and checks the driver; throws Exception with
    /// nothing left behind.
    explicit GLDevice(const NativeWindow& window);
    ~GLDevice() override;

    void release() override;
    StaticTexture* createTextureFromPNG(const void* bytes, std::size_t size) override;
    StaticTexture* createStaticTexture(unsigned width, unsigned height) override;
    void render(Scene* scene) override;

    void* reserved(void* unused) override;
    Shader* setShader(Shader* shader) override;
    void applyShader(int blend, int combine, Texture* texture0, Texture* texture1) override;
    void drawQuads(const Quad* quads, unsigned count) override;
    Device* getDevice() override;
    Font* createFont(const char* name, float pointSize) override;

    /// Builds a font from TrueType bytes (not kept) and settles the text mode
    /// from the desktop's settings; null on failure.
    Font* createFontFromMemory(const void* bytes, std::size_t size, float pointSize);

    /// Textures created and not yet released ("stats.textures").
    int liveTextureCount() const { return liveTextures; }
    bool usesRectangleTextures() const { return rectangleTextures; }
    GLenum target() const { return textureTarget; }
    GLenum bindingQuery() const { return textureBinding; }

private:
    friend class ContextLock;
    friend class GLTexture;
    friend class GLStaticTexture;

    void checkDriver();
    void createDefaultTexture();
    void teardown();
    void enableUnit(int unit, GLTexture* texture, GLenum operation);
    void bindUnit(int unit, GLTexture* texture);
    void disableUnit(int unit);
    void applyCombine(int combine, GLTexture* texture0, GLTexture* texture1);
    void applyBlend(int blend);
    GLTexture* glTexture(Texture* texture);

    gl::MultiTexCoord2fProc multiTexCoord2f = nullptr;
    gl::ActiveTextureProc activeTexture = nullptr;
    platform::Surface* surface = nullptr;
    Shader* currentShader = nullptr;
    bool stateDirty = false;
    int lockDepth = 0;
    bool rectangleTextures = false;
    GLenum textureTarget = GL_TEXTURE_2D;
    GLenum textureBinding = GL_TEXTURE_BINDING_2D;
    float texScale0S = 1, texScale0T = 1, texScale1S = 1, texScale1T = 1;
    StaticTexture* defaultTexture = nullptr;
    int liveTextures = 0;
    NativeWindow window;
};

/// Allocates a device for the window; failures propagate as Exception.
Device* createGLDevice(const NativeWindow& window);

}  // namespace Paintwell
