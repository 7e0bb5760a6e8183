#include "GLSpriteShader.h"

#include "../core/FileReader.h"
#include "GLShaderImplementation.h"

#include <utility>

namespace Ostrel {

GLSpriteShader::GLSpriteShader(FileReader* fileReader_)
    : implementation(new GLShaderImplementation()), fileReader(fileReader_) {}

GLSpriteShader::~GLSpriteShader() {
    delete implementation;
}

std::map<std::string, ShaderUniform*>* GLSpriteShader::GetUniforms() {
    return implementation->GetUniforms();
}

ShaderUniform* GLSpriteShader::GetUniform(std::string name) {
    return implementation->GetUniform(std::move(name));
}

void GLSpriteShader::SetUniform(std::string name, ShaderUniform* uniform) {
    implementation->SetUniform(std::move(name), uniform);
}

ShaderUniform* GLSpriteShader::CreateUniform(std::string name, UniformType type) {
    return implementation->CreateUniform(std::move(name), type);
}

ShaderUniform* GLSpriteShader::CreateUniform(std::string name, UniformType type, std::string key) {
    return implementation->CreateUniform(std::move(name), type, std::move(key));
}

void GLSpriteShader::Use() {
    implementation->Use();
}

void GLSpriteShader::Load() {
    std::string vertex = fileReader->ReadFile("assets/framework/shaders/sprite/sprite_v_es.glsl");
    std::string fragment = fileReader->ReadFile("assets/framework/shaders/sprite/sprite_f_es.glsl");
    implementation->LoadProgram(std::move(vertex), std::move(fragment));
    projectionLocation = implementation->GetUniformLocation("u_projection_matrix", true);
    viewLocation = implementation->GetUniformLocation("u_view_matrix", true);
    transformLocation = implementation->GetUniformLocation("u_transform_matrix", true);
    colourLocation = implementation->GetUniformLocation("u_tint_color", true);
}

void GLSpriteShader::Unload() {
    implementation->Unload();
}

void GLSpriteShader::SetProjectionView(const mat4* projection, const mat4* view) {
    glUniformMatrix4fv(projectionLocation, 1, GL_FALSE, projection->data());
    glUniformMatrix4fv(viewLocation, 1, GL_FALSE, view->data());
}

void GLSpriteShader::SetTransform(const mat4* model) {
    glUniformMatrix4fv(transformLocation, 1, GL_FALSE, model->data());
}

void GLSpriteShader::SetTint(const vec4* colour) {
    glUniform4fv(colourLocation, 1, colour->data());
}

}  // namespace Ostrel
