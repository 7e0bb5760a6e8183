#include "GLEffectShader.h"

#include "../core/ITexture2D.h"
#include "GLShaderImplementation.h"

#include <utility>

namespace Ostrel {

GLEffectShader::GLEffectShader(std::string vertexSource_, std::string fragmentSource_)
    : vertexSource(std::move(vertexSource_)), fragmentSource(std::move(fragmentSource_)) {}

void GLEffectShader::Load() {
    implementation->LoadProgram(vertexSource, fragmentSource);
    // Silent lookups: each effect declares only the standard inputs it uses.
    resolutionLocation = implementation->GetUniformLocation("u_resolution", false);
    timeLocation = implementation->GetUniformLocation("u_time", false);
    randomLocation = implementation->GetUniformLocation("u_random", false);
    textureLocations[0] = implementation->GetUniformLocation("u_texture0", false);
    textureLocations[1] = implementation->GetUniformLocation("u_texture1", false);
    textureLocations[2] = implementation->GetUniformLocation("u_texture2", false);
    textureLocations[3] = implementation->GetUniformLocation("u_texture3", false);
}

void GLEffectShader::Unload() {
    implementation->Unload();
    for (ITexture2D* texture : textures) {
        if (texture != nullptr) texture->Unload();
    }
}

void GLEffectShader::SetResolution(ivec2 size) {
    if (resolutionLocation >= 0) {
        glUniform2f(resolutionLocation, static_cast<float>(size.x), static_cast<float>(size.y));
    }
}

void GLEffectShader::SetTime(float seconds) {
    if (timeLocation >= 0) glUniform1f(timeLocation, seconds);
}

void GLEffectShader::SetRandom(float value) {
    if (randomLocation >= 0) glUniform1f(randomLocation, value);
}

void GLEffectShader::BindTexture0() {
    BindTexture(0);
}
void GLEffectShader::BindTexture1() {
    BindTexture(1);
}
void GLEffectShader::BindTexture2() {
    BindTexture(2);
}
void GLEffectShader::BindTexture3() {
    BindTexture(3);
}

void GLEffectShader::BindTexture(int unit) {
    if (textures[unit] == nullptr || textureLocations[unit] < 0) return;
    glActiveTexture(GL_TEXTURE0 + unit);
    glUniform1i(textureLocations[unit], unit);
    textures[unit]->Bind();
}

}  // namespace Ostrel
