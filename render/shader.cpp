#include "render/shader.h"

#include "render/context.h"

namespace Paintwell {

Shader::Shader(Context* context, int blend, int combine, Texture* texture0, Texture* texture1)
    : context(context),
      previous(nullptr),
      combineMode(combine),
      blendMode(blend),
      firstTexture(texture0),
      secondTexture(texture1) {
    previous = context->setShader(this);
}

Shader::~Shader() { context->setShader(previous); }

}  // namespace Paintwell
