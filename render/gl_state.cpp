// Render state and quad drawing: a shader's blend and combine modes become
// fixed-function texture-environment and blend state, applied lazily on the
// first draw after the shader changed.
#include "render/diagnostics.h"
#include "render/gl_device.h"
#include "render/gl_texture.h"
#include "render/shader.h"

namespace Paintwell {

GLTexture* GLDevice::glTexture(Texture* texture) {
    auto* found = dynamic_cast<GLTexture*>(texture ? texture : defaultTexture);
    return found ? found : dynamic_cast<GLTexture*>(defaultTexture);
}

void GLDevice::bindUnit(int unit, GLTexture* texture) {
    activeTexture(gl::kTexture0 + unit);
    glEnable(textureTarget);
    glBindTexture(textureTarget, texture->name());
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, gl::kCombine);
}

void GLDevice::enableUnit(int unit, GLTexture* texture, GLenum operation) {
    bindUnit(unit, texture);
    glTexEnvi(GL_TEXTURE_ENV, gl::kCombineRGB, operation);
    glTexEnvi(GL_TEXTURE_ENV, gl::kSource0RGB, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, gl::kSource1RGB, gl::kPrevious);
    glTexEnvi(GL_TEXTURE_ENV, gl::kCombineAlpha, operation);
    glTexEnvi(GL_TEXTURE_ENV, gl::kSource0Alpha, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, gl::kSource1Alpha, gl::kPrevious);
}

void GLDevice::disableUnit(int unit) {
    activeTexture(gl::kTexture0 + unit);
    glDisable(textureTarget);
}

void GLDevice::applyCombine(int combine, GLTexture* texture0, GLTexture* texture1) {
    switch (combine) {
    case CombineColor:
        disableUnit(0);
        disableUnit(1);
        disableUnit(2);
        break;
    case CombineModulate:
        enableUnit(0, texture0, GL_MODULATE);
        disableUnit(1);
        disableUnit(2);
        break;
    case CombineMask:
        // RGB from the texture times the colour, alpha from the colour alone.
        bindUnit(0, texture0);
        glTexEnvi(GL_TEXTURE_ENV, gl::kCombineRGB, GL_MODULATE);
        glTexEnvi(GL_TEXTURE_ENV, gl::kSource0RGB, gl::kPrevious);
        glTexEnvi(GL_TEXTURE_ENV, gl::kSource1RGB, GL_TEXTURE);
        glTexEnvi(GL_TEXTURE_ENV, gl::kCombineAlpha, GL_REPLACE);
        glTexEnvi(GL_TEXTURE_ENV, gl::kSource0Alpha, gl::kPrevious);
        glTexEnvi(GL_TEXTURE_ENV, gl::kSource1Alpha, GL_TEXTURE);
        disableUnit(1);
        disableUnit(2);
        break;
    case CombineModulate2:
        enableUnit(0, texture0, GL_MODULATE);
        enableUnit(1, texture1, GL_MODULATE);
        disableUnit(2);
        break;
    case CombineCrossfade:
        enableUnit(0, texture0, GL_REPLACE);
        enableUnit(1, texture1, gl::kInterpolate);
        glTexEnvi(GL_TEXTURE_ENV, gl::kSource2RGB, gl::kPrimaryColor);
        glTexEnvi(GL_TEXTURE_ENV, gl::kOperand2RGB, GL_SRC_ALPHA);
        glTexEnvi(GL_TEXTURE_ENV, gl::kSource2Alpha, gl::kPrimaryColor);
        // Unit 2 only tints by the colour; its texture just keeps it enabled.
        bindUnit(2, glTexture(nullptr));
        glTexEnvi(GL_TEXTURE_ENV, gl::kCombineRGB, GL_MODULATE);
        glTexEnvi(GL_TEXTURE_ENV, gl::kSource0RGB, gl::kPrevious);
        glTexEnvi(GL_TEXTURE_ENV, gl::kSource1RGB, gl::kPrimaryColor);
        glTexEnvi(GL_TEXTURE_ENV, gl::kCombineAlpha, GL_REPLACE);
        glTexEnvi(GL_TEXTURE_ENV, gl::kSource0Alpha, gl::kPrevious);
        glTexEnvi(GL_TEXTURE_ENV, gl::kSource1Alpha, gl::kPrimaryColor);
        break;
    default: checkFailed(__LINE__);
    }
}

void GLDevice::applyBlend(int blend) {
    switch (blend) {
    case BlendNone: glDisable(GL_BLEND); break;
    case BlendPremultiplied:
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        break;
    case BlendAdditive:
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
        break;
    case BlendAlpha:
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        break;
    case BlendSubpixel:
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_COLOR);
        break;
    default: checkFailed(__LINE__);
    }
}

void GLDevice::applyShader(int blend, int combine, Texture* texture0, Texture* texture1) {
    GLTexture* first = glTexture(texture0);
    GLTexture* second = glTexture(texture1);
    if (rectangleTextures) {
        texScale0S = texScale0T = texScale1S = texScale1T = 1.0f;
    } else {
        texScale0S = 1.0f / static_cast<float>(first->width());
        texScale0T = 1.0f / static_cast<float>(first->height());
        texScale1S = 1.0f / static_cast<float>(second->width());
        texScale1T = 1.0f / static_cast<float>(second->height());
    }
    applyCombine(combine, first, second);
    applyBlend(blend);
    stateDirty = false;
}

void GLDevice::drawQuads(const Quad* quads, unsigned count) {
    if (stateDirty && currentShader)
        applyShader(currentShader->blend(), currentShader->combine(), currentShader->texture0(),
                    currentShader->texture1());
    auto vertex = [this](float x, float y, float s0, float t0, float s1, float t1) {
        multiTexCoord2f(gl::kTexture0, s0 * texScale0S, t0 * texScale0T);
        multiTexCoord2f(gl::kTexture0 + 1, s1 * texScale1S, t1 * texScale1T);
        glVertex2f(x, y);
    };
    glBegin(GL_QUADS);
    for (unsigned i = 0; i < count; ++i) {
        const Quad& q = quads[i];
        glColor4ub(static_cast<GLubyte>(q.colour >> 16), static_cast<GLubyte>(q.colour >> 8),
                   static_cast<GLubyte>(q.colour), static_cast<GLubyte>(q.colour >> 24));
        vertex(q.left, q.top, q.texLeft, q.texTop, q.tex1Left, q.tex1Top);
        vertex(q.left, q.bottom, q.texLeft, q.texBottom, q.tex1Left, q.tex1Bottom);
        vertex(q.right, q.bottom, q.texRight, q.texBottom, q.tex1Right, q.tex1Bottom);
        vertex(q.right, q.top, q.texRight, q.texTop, q.tex1Right, q.tex1Top);
    }
    glEnd();
}

}  // namespace Paintwell
