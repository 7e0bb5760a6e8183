// GLShaderImplementation.h - a linked GL program with its editable uniforms,
// and the compile/link helpers.
#pragma once

#include "../core/LifecycleState.h"
#include "GLShaderUniform.h"
#include "Shader.h"

#include <GL/glew.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Ostrel {

// Compiles one stage; on failure prints GL's log, deletes the object and still
// returns its (now dead) name.
GLuint CompileShader(GLenum stage, std::string source);
// Compiles both stages and links them; failures are printed, the program name
// is returned regardless.
GLuint CreateShaderProgram(std::string vertexSource, std::string fragmentSource);

class GLShaderImplementation final : public Shader {
public:
    std::map<std::string, ShaderUniform*> uniforms;
    LifecycleState state = LifecycleCreated;
    std::string vertexSource;
    std::string fragmentSource;
    GLuint program = 0;

    GLShaderImplementation() = default;
    GLShaderImplementation(std::string vertexSource, std::string fragmentSource);
    ~GLShaderImplementation() override;

    GLShaderImplementation(const GLShaderImplementation&) = delete;
    GLShaderImplementation& operator=(const GLShaderImplementation&) = delete;

    std::map<std::string, ShaderUniform*>* GetUniforms() override;
    ShaderUniform* GetUniform(std::string name) override;
    void SetUniform(std::string name, ShaderUniform* uniform) override;
    ShaderUniform* CreateUniform(std::string name, UniformType type) override;
    ShaderUniform* CreateUniform(std::string name, UniformType type, std::string key) override;
    void Use() override;
    void Load() override;
    void Unload() override;

    void LoadProgram(std::string vertexSource, std::string fragmentSource);
    GLint GetUniformLocation(std::string name, bool report);

private:
    // Every uniform CreateUniform made, including ones later replaced in the
    // map, so that each is freed exactly once with the shader.
    std::vector<std::unique_ptr<GLShaderUniform>> created;
};

}  // namespace Ostrel
