// FakeEffectShader.h - an IEffectShader without GL: editable uniforms kept in a
// map by name, four texture slots, and counts of the calls that would reach
// the GPU. For editor and effect tests that need no context.
#pragma once

#include "gl/IEffectShader.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace OstrelTest {

class FakeUniform final : public Ostrel::ShaderUniform {
public:
    explicit FakeUniform(Ostrel::UniformType type) : ShaderUniform(type) {}
    ~FakeUniform() = default;
    void ResolveLocation() override {}
    void Use() override {}
};

class FakeEffectShader final : public Ostrel::IEffectShader {
public:
    Ostrel::ITexture2D* textures[4] = {nullptr, nullptr, nullptr, nullptr};
    int useCount = 0;
    int loadCount = 0;

    std::map<std::string, Ostrel::ShaderUniform*>* GetUniforms() override { return &uniforms; }
    Ostrel::ShaderUniform* GetUniform(std::string name) override;
    void SetUniform(std::string name, Ostrel::ShaderUniform* uniform) override { uniforms[name] = uniform; }
    Ostrel::ShaderUniform* CreateUniform(std::string name, Ostrel::UniformType type) override;
    Ostrel::ShaderUniform* CreateUniform(std::string name, Ostrel::UniformType type, std::string key) override;
    void Use() override { ++useCount; }
    void Load() override { ++loadCount; }
    void Unload() override {}

    void SetResolution(Ostrel::ivec2) override {}
    void SetTime(float) override {}
    void SetRandom(float) override {}
    void BindTexture0() override {}
    void BindTexture1() override {}
    void BindTexture2() override {}
    void BindTexture3() override {}
    Ostrel::ITexture2D* GetTexture(int slot) override;
    void SetTexture(int slot, Ostrel::ITexture2D* texture) override;

    // A uniform with the given value and slider range (first component used
    // as the range of all components, as the editor does).
    Ostrel::ShaderUniform* Add(const std::string& name, Ostrel::UniformType type, Ostrel::vec3 value, float min,
                               float max);

private:
    std::map<std::string, Ostrel::ShaderUniform*> uniforms;
    std::vector<std::unique_ptr<FakeUniform>> owned;
};

}  // namespace OstrelTest
