// TextShader.h - the text program: matrices and a text colour.
#pragma once

#include "../core/Math.h"
#include "Shader.h"

namespace Ostrel {

class TextShader : public Shader {
public:
    virtual void SetProjectionView(const mat4* projection, const mat4* view) = 0;
    virtual void SetTransform(const mat4* model) = 0;
    virtual void SetColor(const vec4* colour) = 0;
};

}  // namespace Ostrel
