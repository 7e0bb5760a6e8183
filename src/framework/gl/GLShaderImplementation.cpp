#include "GLShaderImplementation.h"

#include <iostream>
#include <utility>
#include <vector>

namespace Ostrel {

GLuint CompileShader(GLenum stage, std::string source) {
    GLuint shader = glCreateShader(stage);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);

    GLint status = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    if (status == 0) {
        GLint length = 0;
        glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
        // One extra byte so an empty log is still a terminated string.
        std::vector<char> log(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
        if (length > 0) glGetShaderInfoLog(shader, length, &length, log.data());
        std::cout << "An error occurred while compiling the shaders: \n" << log.data() << std::endl;
        glDeleteShader(shader);
    }
    return shader;
}

GLuint CreateShaderProgram(std::string vertexSource, std::string fragmentSource) {
    GLuint vs = CompileShader(GL_VERTEX_SHADER, std::move(vertexSource));
    GLuint fs = CompileShader(GL_FRAGMENT_SHADER, std::move(fragmentSource));

    GLuint program = glCreateProgram();
    glAttachShader(program, vs);
    glAttachShader(program, fs);
    glLinkProgram(program);

    GLint status = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    if (status == 0) {
        char log[512] = {};
        glGetProgramInfoLog(program, sizeof(log), nullptr, log);
        log[sizeof(log) - 1] = '\0';
        std::cout << "Unable to initalize the shader program \n" << log << std::endl;
    }
    glDeleteShader(vs);
    glDeleteShader(fs);
    return program;
}

GLShaderImplementation::GLShaderImplementation(std::string vertexSource_, std::string fragmentSource_)
    : vertexSource(std::move(vertexSource_)), fragmentSource(std::move(fragmentSource_)) {}

GLShaderImplementation::~GLShaderImplementation() {
    if (state != LifecycleReleased) {
        glDeleteProgram(program);
        state = LifecycleReleased;
    }
}

std::map<std::string, ShaderUniform*>* GLShaderImplementation::GetUniforms() {
    return &uniforms;
}

ShaderUniform* GLShaderImplementation::GetUniform(std::string name) {
    auto it = uniforms.find(name);
    return it == uniforms.end() ? nullptr : it->second;
}

void GLShaderImplementation::SetUniform(std::string name, ShaderUniform* uniform) {
    uniforms[name] = uniform;
}

ShaderUniform* GLShaderImplementation::CreateUniform(std::string name, UniformType type) {
    std::string key = name;
    return CreateUniform(std::move(name), type, std::move(key));
}

ShaderUniform* GLShaderImplementation::CreateUniform(std::string name, UniformType type, std::string key) {
    created.push_back(std::make_unique<GLShaderUniform>(this, std::move(name), type));
    GLShaderUniform* uniform = created.back().get();
    uniforms[key] = uniform;
    switch (type) {
        case Float:
            uniform->min.x = -1.0f;
            uniform->max.x = 1.0f;
            break;
        case Vec2:
            uniform->min.x = uniform->min.y = -1.0f;
            uniform->max.x = uniform->max.y = 1.0f;
            break;
        case Vec3:
            uniform->min = vec3(-1.0f, -1.0f, -1.0f);
            uniform->max = vec3(1.0f, 1.0f, 1.0f);
            break;
        default:
            std::cout << "Ostrel::GLShaderImplementation::CreateUniform unhandeled type" << std::endl;
            break;
    }
    return uniform;
}

void GLShaderImplementation::Use() {
    glUseProgram(program);
    for (auto& entry : uniforms) entry.second->Use();
}

void GLShaderImplementation::Load() {
    LoadProgram(vertexSource, fragmentSource);
}

void GLShaderImplementation::Unload() {
    if (state != LifecycleReleased) glDeleteProgram(program);
    state = LifecycleReleased;
}

void GLShaderImplementation::LoadProgram(std::string vertexSource_, std::string fragmentSource_) {
    // A reload replaces the linked program; the old one would otherwise leak.
    if (state == LifecycleInitialised) glDeleteProgram(program);
    program = CreateShaderProgram(std::move(vertexSource_), std::move(fragmentSource_));
    glUseProgram(program);
    state = LifecycleInitialised;
    for (auto& entry : uniforms) entry.second->ResolveLocation();
}

GLint GLShaderImplementation::GetUniformLocation(std::string name, bool report) {
    GLint location = glGetUniformLocation(program, name.c_str());
    if (report && location < 0) std::cout << "Unable to resolve uniform " << name << "!" << std::endl;
    return location;
}

}  // namespace Ostrel
