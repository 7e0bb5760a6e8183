// Shader.h - the common interface of the sprite, text and effect programs:
// editable uniforms by name plus Use/Load/Unload.
#pragma once

#include "ShaderUniform.h"

#include <map>
#include <string>

namespace Ostrel {

class Shader {
public:
    virtual ~Shader() = default;
    virtual std::map<std::string, ShaderUniform*>* GetUniforms() = 0;
    virtual ShaderUniform* GetUniform(std::string name) = 0;
    virtual void SetUniform(std::string name, ShaderUniform* uniform) = 0;
    virtual ShaderUniform* CreateUniform(std::string name, UniformType type) = 0;
    virtual ShaderUniform* CreateUniform(std::string name, UniformType type, std::string key) = 0;
    virtual void Use() = 0;
    virtual void Load() = 0;
    virtual void Unload() = 0;
};

}  // namespace Ostrel
