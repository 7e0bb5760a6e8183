// SpriteShader.h - the sprite program: matrices and a tint.
#pragma once

#include "../core/Math.h"
#include "Shader.h"

namespace Ostrel {

class SpriteShader : public Shader {
public:
    virtual void SetProjectionView(const mat4* projection, const mat4* view) = 0;
    virtual void SetTransform(const mat4* model) = 0;
    virtual void SetTint(const vec4* colour) = 0;
};

}  // namespace Ostrel
