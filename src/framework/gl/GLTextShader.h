// GLTextShader.h - the text program, read from assets/framework/shaders/text/;
// its colour uniform is "u_color".
#pragma once

#include "GLMatrixShader.h"
#include "TextShader.h"

namespace Ostrel {

class GLTextShader final : public GLMatrixShader<TextShader> {
public:
    explicit GLTextShader(FileReader* fileReader)
        : GLMatrixShader(fileReader, "assets/framework/shaders/text/text_v_es.glsl",
                         "assets/framework/shaders/text/text_f_es.glsl", "u_color") {}

    void SetColor(const vec4* colour) override { UploadColour(colour); }
};

}  // namespace Ostrel
