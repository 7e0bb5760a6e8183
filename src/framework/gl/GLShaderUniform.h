// GLShaderUniform.h - an editable uniform of a GL program.
#pragma once

#include "ShaderUniform.h"

#include <GL/glew.h>

#include <string>

namespace Ostrel {

class GLShaderImplementation;

class GLShaderUniform final : public ShaderUniform {
public:
    GLShaderImplementation* owner;
    GLint location = -1;
    std::string name;

    GLShaderUniform(GLShaderImplementation* owner, std::string name, UniformType type);

    // Looks the name up in the owner's program; leaves program 0 current.
    void ResolveLocation() override;
    // Uploads value to the current program.
    void Use() override;
};

}  // namespace Ostrel
