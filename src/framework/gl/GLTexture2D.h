// GLTexture2D.h - an OpenGL ES 2D texture made from 8-bit pixels.
#pragma once

#include "../core/ITexture2D.h"

#include <GL/glew.h>

namespace Ostrel {

class GLTexture2D final : public ITexture2D {
public:
    GLuint id = 0;

    GLTexture2D(const unsigned char* pixels, unsigned width, unsigned height);
    GLTexture2D(const unsigned char* pixels, unsigned width, unsigned height, TextureParameters params);
    ~GLTexture2D() override;
    // Each object owns its texture name and deletes it once.
    GLTexture2D(const GLTexture2D&) = delete;
    GLTexture2D& operator=(const GLTexture2D&) = delete;

    void Bind() override;
    void Unload() override;
};

}  // namespace Ostrel
