// GLEffectShader.h - an effect program on OpenGL ES, linked from two source
// texts through a GLShaderImplementation.
#pragma once

#include "GLForwardingShader.h"
#include "IEffectShader.h"

#include <GL/glew.h>

#include <string>

namespace Ostrel {

class ITexture2D;

class GLEffectShader final : public GLForwardingShader<IEffectShader> {
public:
    // Slot 0 is the scene at draw time; slots 1..3 hold the effect's own
    // pictures. Not owned: they belong to the texture manager.
    ITexture2D* textures[4] = {nullptr, nullptr, nullptr, nullptr};
    std::string vertexSource;
    std::string fragmentSource;
    GLint resolutionLocation = -1;
    GLint timeLocation = -1;
    GLint randomLocation = -1;
    GLint textureLocations[4] = {-1, -1, -1, -1};

    // Compiles nothing; Load does, and must come before the setters.
    GLEffectShader(std::string vertexSource, std::string fragmentSource);

    void Load() override;
    void Unload() override;

    void SetResolution(ivec2 size) override;
    void SetTime(float seconds) override;
    void SetRandom(float value) override;
    void BindTexture0() override;
    void BindTexture1() override;
    void BindTexture2() override;
    void BindTexture3() override;
    ITexture2D* GetTexture(int slot) override { return slot >= 0 && slot < 4 ? textures[slot] : nullptr; }
    void SetTexture(int slot, ITexture2D* texture) override {
        if (slot >= 0 && slot < 4) textures[slot] = texture;
    }

private:
    void BindTexture(int unit);
};

}  // namespace Ostrel
