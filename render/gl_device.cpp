#include "render/gl_device.h"

#include "render/context_lock.h"
#include "render/diagnostics.h"
#include "render/exception.h"
#include "render/gl_texture.h"
#include "render/scene.h"
#include "render/test_hooks.h"

#include <cstring>

namespace Paintwell {

namespace {

// Red, green, yellow and blue 2x2 blocks: what a textured draw shows when it
// names no texture.
constexpr std::uint32_t kDefaultPattern[16] = {
    0xFFFF0000, 0xFFFF0000, 0xFF00FF00, 0xFF00FF00,  //
    0xFFFF0000, 0xFFFF0000, 0xFF00FF00, 0xFF00FF00,  //
    0xFFFFFF00, 0xFFFFFF00, 0xFF0000FF, 0xFF0000FF,  //
    0xFFFFFF00, 0xFFFFFF00, 0xFF0000FF, 0xFF0000FF,
};

constexpr const char* kDriverCaption = "Corvelight GL error";
constexpr const char* kDriverText =
    "Multitexturing with texture-env-combine not support by OpenGL.\n"
    "Some very old hardware simply doesn't support this feature.\n\n"
    "Otherwise, if you're running the latest drivers for your graphics card\n"
    "please report this error with your system details (GPU and OS)\n";

// Once per process: a host retries device creation on every paint.
bool driverMessageShown = false;

bool contains(const char* list, const char* name) { return list && std::strstr(list, name) != nullptr; }

}  // namespace

GLDevice::GLDevice(const NativeWindow& nativeWindow) : window(nativeWindow) {
    surface = platform::openSurface(window);
    try {
        ContextLock lock(*this);
        checkDriver();
        platform::disableSwapWait(surface);
        glEnable(textureTarget);
        createDefaultTexture();
    } catch (...) {
        teardown();
        throw;
    }
}

GLDevice::~GLDevice() { teardown(); }

void GLDevice::checkDriver() {
    const char* extensions = testing::extensionOverride();
    if (!extensions) extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    bool multitexture = contains(extensions, "GL_ARB_multitexture");
    bool combine =
        contains(extensions, "GL_ARB_texture_env_combine") || contains(extensions, "GL_EXT_texture_env_combine");
    if (!multitexture || !combine) {
        if (!driverMessageShown) {
            driverMessageShown = true;
            reportDriverMessage(kDriverCaption, kDriverText);
        }
        throw Exception();
    }
    multiTexCoord2f = reinterpret_cast<gl::MultiTexCoord2fProc>(platform::procAddress("glMultiTexCoord2fARB"));
    if (!multiTexCoord2f) checkFailed(__LINE__);
    activeTexture = reinterpret_cast<gl::ActiveTextureProc>(platform::procAddress("glActiveTextureARB"));
    if (!activeTexture) checkFailed(__LINE__);
    rectangleTextures =
        contains(extensions, "GL_ARB_texture_rectangle") || contains(extensions, "GL_EXT_texture_rectangle");
    textureTarget = rectangleTextures ? gl::kTextureRectangle : GL_TEXTURE_2D;
    textureBinding = rectangleTextures ? gl::kTextureBindingRectangle : GL_TEXTURE_BINDING_2D;
}

void GLDevice::createDefaultTexture() {
    defaultTexture = createStaticTexture(4, 4);
    defaultTexture->upload(kDefaultPattern, 4, 0, 0, 4, 4);
}

void GLDevice::teardown() {
    if (defaultTexture) {
        defaultTexture->release();
        defaultTexture = nullptr;
    }
    platform::closeSurface(surface);
    surface = nullptr;
    if (liveTextures != 0) reportDebugText("Corvelight GL stats.textures non-zero; possible leak.\r\n");
}

void GLDevice::release() { delete this; }

StaticTexture* GLDevice::createStaticTexture(unsigned width, unsigned height) {
    ContextLock lock(*this);
    return new GLStaticTexture(*this, width, height);
}

void GLDevice::render(Scene* scene) {
    ContextLock lock(*this);
    int width = 0, height = 0;
    platform::clientSize(surface, width, height);
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, 0, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0.1f, 0.1f, 0.1f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    currentShader = nullptr;
    scene->draw(this);
    testing::runFrameProbe(width, height);
    platform::swapBuffers(surface);
}

void* GLDevice::reserved(void*) { return nullptr; }

Shader* GLDevice::setShader(Shader* shader) {
    Shader* previous = currentShader;
    currentShader = shader;
    stateDirty = true;
    return previous;
}

Device* GLDevice::getDevice() { return this; }

Device* createGLDevice(const NativeWindow& window) { return new GLDevice(window); }

}  // namespace Paintwell
