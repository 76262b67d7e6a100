#include "render/gl_texture.h"

#include "render/context_lock.h"
#include "render/gl_device.h"

namespace Paintwell {

namespace {

// Puts the previously bound texture back when a texture operation ends, so
// that creating or filling a texture mid-frame leaves the frame's state alone.
class BindingGuard {
public:
    explicit BindingGuard(GLDevice& device) : target(device.target()) {
        GLint bound = 0;
        glGetIntegerv(device.bindingQuery(), &bound);
        previous = static_cast<GLuint>(bound);
    }
    ~BindingGuard() { glBindTexture(target, previous); }
    BindingGuard(const BindingGuard&) = delete;
    BindingGuard& operator=(const BindingGuard&) = delete;

private:
    GLenum target;
    GLuint previous = 0;
};

}  // namespace

unsigned powerOfTwoAtLeast(unsigned size) {
    unsigned power = 1;
    while (power < size && power < 0x80000000u) power *= 2;
    return power;
}

GLTexture::GLTexture(GLDevice& device, unsigned width, unsigned height)
    : allocatedWidth(width), allocatedHeight(height), device(&device) {}

void GLTexture::release() {
    try {
        ContextLock lock(*device);
        glBindTexture(device->target(), 0);
        glDeleteTextures(1, &textureName);
    } catch (...) {
        // The object goes all the same; a lost GL name is not worth a crash.
    }
    --device->liveTextures;
    delete this;
}

GLStaticTexture::GLStaticTexture(GLDevice& device, unsigned width, unsigned height)
    : GLTexture(device, device.usesRectangleTextures() ? width : powerOfTwoAtLeast(width),
                device.usesRectangleTextures() ? height : powerOfTwoAtLeast(height)) {
    ++device.liveTextures;
    glGenTextures(1, &textureName);
    BindingGuard binding(device);
    GLenum target = device.target();
    glBindTexture(target, textureName);
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(target, 0, GL_RGBA, static_cast<GLsizei>(allocatedWidth), static_cast<GLsizei>(allocatedHeight), 0,
                 gl::kBGRA, GL_UNSIGNED_BYTE, nullptr);
}

void GLStaticTexture::release() { GLTexture::release(); }

void GLStaticTexture::upload(const std::uint32_t* pixels, unsigned rowLength, unsigned x, unsigned y, unsigned width,
                             unsigned height) {
    // A rectangle starting outside the texture has nothing to copy.
    if (x >= allocatedWidth || y >= allocatedHeight || !pixels) return;
    ContextLock lock(*device);
    BindingGuard binding(*device);
    glBindTexture(device->target(), textureName);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, static_cast<GLint>(rowLength));
    unsigned clippedWidth = width < allocatedWidth - x ? width : allocatedWidth - x;
    unsigned clippedHeight = height < allocatedHeight - y ? height : allocatedHeight - y;
    glTexSubImage2D(device->target(), 0, static_cast<GLint>(x), static_cast<GLint>(y),
                    static_cast<GLsizei>(clippedWidth), static_cast<GLsizei>(clippedHeight), gl::kBGRA,
                    GL_UNSIGNED_BYTE, pixels);
}

}  // namespace Paintwell
