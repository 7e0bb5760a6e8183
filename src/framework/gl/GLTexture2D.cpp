#include "GLTexture2D.h"

namespace Ostrel {

GLTexture2D::GLTexture2D(const unsigned char* pixels, unsigned width_, unsigned height_)
    : GLTexture2D(pixels, width_, height_, TextureParameters()) {}

GLTexture2D::GLTexture2D(const unsigned char* pixels, unsigned width_, unsigned height_, TextureParameters params) {
    width = width_;
    height = height_;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    GLenum format = GL_RGBA;
    if (params.channels == 1) format = GL_RED;
    if (params.channels == 3) format = GL_RGB;
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), static_cast<GLsizei>(width),
                 static_cast<GLsizei>(height), 0, format, GL_UNSIGNED_BYTE, pixels);
    glGenerateMipmap(GL_TEXTURE_2D);
    const GLint wrap = params.clampToEdge != 0 ? GL_CLAMP_TO_EDGE : GL_REPEAT;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    const GLint filter = params.filter == 1 ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    state = LifecycleCreated;
    handle = &id;
}

GLTexture2D::~GLTexture2D() {
    Unload();
}

void GLTexture2D::Bind() {
    glBindTexture(GL_TEXTURE_2D, id);
}

void GLTexture2D::Unload() {
    if (state != LifecycleReleased) glDeleteTextures(1, &id);
    state = LifecycleReleased;
}

}  // namespace Ostrel
