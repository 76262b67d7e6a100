// OpenGL 1.1 from the system header, and the few later enums the renderer
// uses (multitexturing, texture-env-combine, BGRA, rectangle textures), named
// here because Windows' GL header stops at 1.1.
#pragma once

#include <GL/gl.h>

namespace Paintwell::gl {

constexpr GLenum kBGRA = 0x80E1;
constexpr GLenum kTexture0 = 0x84C0;
constexpr GLenum kTextureRectangle = 0x84F5;
constexpr GLenum kTextureBindingRectangle = 0x84F6;

constexpr GLenum kCombine = 0x8570;
constexpr GLenum kCombineRGB = 0x8571;
constexpr GLenum kCombineAlpha = 0x8572;
constexpr GLenum kInterpolate = 0x8575;
constexpr GLenum kPrimaryColor = 0x8577;
constexpr GLenum kPrevious = 0x8578;
constexpr GLenum kSource0RGB = 0x8580;
constexpr GLenum kSource1RGB = 0x8581;
constexpr GLenum kSource2RGB = 0x8582;
constexpr GLenum kSource0Alpha = 0x8588;
constexpr GLenum kSource1Alpha = 0x8589;
constexpr GLenum kSource2Alpha = 0x858A;
constexpr GLenum kOperand2RGB = 0x8592;

// x86-64 has one calling convention, so these match the drivers' entry points
// on both platforms.
using MultiTexCoord2fProc = void (*)(GLenum unit, GLfloat s, GLfloat t);
using ActiveTextureProc = void (*)(GLenum unit);

}  // namespace Paintwell::gl
