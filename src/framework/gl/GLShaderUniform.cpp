#include "GLShaderUniform.h"

#include "GLShaderImplementation.h"

#include <iostream>
#include <utility>

namespace Ostrel {

GLShaderUniform::GLShaderUniform(GLShaderImplementation* owner_, std::string name_, UniformType type_)
    : ShaderUniform(type_), owner(owner_), name(std::move(name_)) {}

void GLShaderUniform::ResolveLocation() {
    glUseProgram(owner->program);
    location = glGetUniformLocation(owner->program, name.c_str());
    if (location == -1) std::cout << "Unable to resolve uniform location " << name << "!" << std::endl;
    glUseProgram(0);
}

void GLShaderUniform::Use() {
    switch (type) {
        case Float:
            glUniform1f(location, value.x);
            break;
        case Vec2:
            glUniform2fv(location, 1, value.data());
            break;
        case Vec3:
            glUniform3fv(location, 1, value.data());
            break;
        default:
            std::cout << "Unhandled type in Ostrel::GLShaderUniform::Use" << std::endl;
            break;
    }
}

}  // namespace Ostrel
