// GLForwardingShader.h - the part every concrete GL program shares: it owns a
// GLShaderImplementation and forwards the common Shader operations to it.
// `Interface` is SpriteShader, TextShader or IEffectShader.
#pragma once

#include "GLShaderImplementation.h"

#include <map>
#include <string>
#include <utility>

namespace Ostrel {

template <typename Interface>
class GLForwardingShader : public Interface {
public:
    GLShaderImplementation* implementation = new GLShaderImplementation();  // owned

    GLForwardingShader(const GLForwardingShader&) = delete;
    GLForwardingShader& operator=(const GLForwardingShader&) = delete;
    ~GLForwardingShader() override { delete implementation; }

    std::map<std::string, ShaderUniform*>* GetUniforms() override { return implementation->GetUniforms(); }
    ShaderUniform* GetUniform(std::string name) override { return implementation->GetUniform(std::move(name)); }
    void SetUniform(std::string name, ShaderUniform* uniform) override {
        implementation->SetUniform(std::move(name), uniform);
    }
    ShaderUniform* CreateUniform(std::string name, UniformType type) override {
        return implementation->CreateUniform(std::move(name), type);
    }
    ShaderUniform* CreateUniform(std::string name, UniformType type, std::string key) override {
        return implementation->CreateUniform(std::move(name), type, std::move(key));
    }
    void Use() override { implementation->Use(); }
    void Unload() override { implementation->Unload(); }

protected:
    GLForwardingShader() = default;
};

}  // namespace Ostrel
