#include "FakeEffectShader.h"

namespace OstrelTest {

Ostrel::ShaderUniform* FakeEffectShader::GetUniform(std::string name) {
    auto found = uniforms.find(name);
    return found == uniforms.end() ? nullptr : found->second;
}

Ostrel::ShaderUniform* FakeEffectShader::CreateUniform(std::string name, Ostrel::UniformType type) {
    return CreateUniform(name, type, name);
}

Ostrel::ShaderUniform* FakeEffectShader::CreateUniform(std::string, Ostrel::UniformType type, std::string key) {
    owned.push_back(std::make_unique<FakeUniform>(type));
    uniforms[key] = owned.back().get();
    return owned.back().get();
}

Ostrel::ITexture2D* FakeEffectShader::GetTexture(int slot) {
    return slot >= 0 && slot < 4 ? textures[slot] : nullptr;
}

void FakeEffectShader::SetTexture(int slot, Ostrel::ITexture2D* texture) {
    if (slot >= 0 && slot < 4) textures[slot] = texture;
}

Ostrel::ShaderUniform* FakeEffectShader::Add(const std::string& name, Ostrel::UniformType type, Ostrel::vec3 value,
                                             float min, float max) {
    Ostrel::ShaderUniform* uniform = CreateUniform(name, type);
    uniform->value = value;
    uniform->min = Ostrel::vec3{min, min, min};
    uniform->max = Ostrel::vec3{max, max, max};
    return uniform;
}

}  // namespace OstrelTest
