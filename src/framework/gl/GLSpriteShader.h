// GLSpriteShader.h - the sprite program, read from
// assets/framework/shaders/sprite/ and linked through a GLShaderImplementation.
#pragma once

#include "SpriteShader.h"

#include <GL/glew.h>

namespace Ostrel {

class FileReader;
class GLShaderImplementation;

class GLSpriteShader final : public SpriteShader {
public:
    GLShaderImplementation* implementation;  // owned
    FileReader* fileReader;                  // not owned
    GLint projectionLocation = -1;
    GLint viewLocation = -1;
    GLint transformLocation = -1;
    GLint colourLocation = -1;  // "u_tint_color"

    explicit GLSpriteShader(FileReader* fileReader);
    ~GLSpriteShader() override;

    GLSpriteShader(const GLSpriteShader&) = delete;
    GLSpriteShader& operator=(const GLSpriteShader&) = delete;

    std::map<std::string, ShaderUniform*>* GetUniforms() override;
    ShaderUniform* GetUniform(std::string name) override;
    void SetUniform(std::string name, ShaderUniform* uniform) override;
    ShaderUniform* CreateUniform(std::string name, UniformType type) override;
    ShaderUniform* CreateUniform(std::string name, UniformType type, std::string key) override;
    void Use() override;
    void Load() override;
    void Unload() override;

    void SetProjectionView(const mat4* projection, const mat4* view) override;
    void SetTransform(const mat4* model) override;
    void SetTint(const vec4* colour) override;
};

}  // namespace Ostrel
