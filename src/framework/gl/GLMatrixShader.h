// GLMatrixShader.h - what the sprite and text programs share: a program read
// from two fixed files, with three fixed matrices and one fixed colour uniform. `Interface` is SpriteShader or
// TextShader; the twins add only their paths and the colour operation's name.
#pragma once

#include "../core/FileReader.h"
#include "GLForwardingShader.h"

#include <GL/glew.h>

#include <string>
#include <utility>

namespace Ostrel {

template <typename Interface>
class GLMatrixShader : public GLForwardingShader<Interface> {
public:
    FileReader* fileReader;  // not owned
    GLint projectionLocation = -1;
    GLint viewLocation = -1;
    GLint transformLocation = -1;
    GLint colourLocation = -1;

    void Load() override {
        GLShaderImplementation* program = this->implementation;
        std::string vertex = fileReader->ReadFile(vertexPath);
        std::string fragment = fileReader->ReadFile(fragmentPath);
        program->LoadProgram(std::move(vertex), std::move(fragment));
        projectionLocation = program->GetUniformLocation("u_projection_matrix", true);
        viewLocation = program->GetUniformLocation("u_view_matrix", true);
        transformLocation = program->GetUniformLocation("u_transform_matrix", true);
        colourLocation = program->GetUniformLocation(colourName, true);
    }

    void SetProjectionView(const mat4* projection, const mat4* view) override {
        glUniformMatrix4fv(projectionLocation, 1, GL_FALSE, projection->data());
        glUniformMatrix4fv(viewLocation, 1, GL_FALSE, view->data());
    }

    void SetTransform(const mat4* model) override { glUniformMatrix4fv(transformLocation, 1, GL_FALSE, model->data()); }

protected:
    GLMatrixShader(FileReader* reader, const char* vertexFile, const char* fragmentFile, const char* colourUniform)
        : fileReader(reader), vertexPath(vertexFile), fragmentPath(fragmentFile), colourName(colourUniform) {}

    void UploadColour(const vec4* colour) { glUniform4fv(colourLocation, 1, colour->data()); }

private:
    const char* vertexPath;
    const char* fragmentPath;
    const char* colourName;
};

}  // namespace Ostrel
