// GLSpriteShader.h - the sprite program, read from
// assets/framework/shaders/sprite/; its colour uniform is "u_tint_color".
#pragma once

#include "GLMatrixShader.h"
#include "SpriteShader.h"

namespace Ostrel {

class GLSpriteShader final : public GLMatrixShader<SpriteShader> {
public:
    explicit GLSpriteShader(FileReader* fileReader)
        : GLMatrixShader(fileReader, "assets/framework/shaders/sprite/sprite_v_es.glsl",
                         "assets/framework/shaders/sprite/sprite_f_es.glsl", "u_tint_color") {}

    void SetTint(const vec4* colour) override { UploadColour(colour); }
};

}  // namespace Ostrel
