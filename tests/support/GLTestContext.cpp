#include "GLTestContext.h"

#include <GL/glew.h>
#include <stb_image_write.h>

#include <cstdlib>
#include <iostream>

namespace OstrelTest {

GLTestContext::GLTestContext(int w, int h) : width(w), height(h) {
    if (std::getenv("DISPLAY") == nullptr) setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::cerr << "GLTestContext: SDL_Init failed: " << SDL_GetError() << std::endl;
        return;
    }
    window = SDL_CreateWindow("gl test", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h,
                              SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window == nullptr) {
        std::cerr << "GLTestContext: no window: " << SDL_GetError() << std::endl;
        return;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    context = SDL_GL_CreateContext(window);
    if (context == nullptr) {
        std::cerr << "GLTestContext: no context: " << SDL_GetError() << std::endl;
        return;
    }
    glewExperimental = GL_TRUE;
    const GLenum result = glewInit();
    // Under EGL GLEW reports a missing GLX display although every entry point loaded.
    if (result != GLEW_OK && result != GLEW_ERROR_NO_GLX_DISPLAY) {
        std::cerr << "GLTestContext: glewInit: " << glewGetErrorString(result) << std::endl;
    }
    glViewport(0, 0, w, h);
}

GLTestContext::~GLTestContext() {
    if (context != nullptr) SDL_GL_DeleteContext(context);
    if (window != nullptr) SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

std::vector<uint8_t> GLTestContext::ReadPixels() const {
    std::vector<uint8_t> bottomUp(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<uint8_t> topDown(bottomUp.size());
    const size_t row = static_cast<size_t>(width) * 4;
    for (int y = 0; y < height; ++y) {
        std::copy(bottomUp.begin() + static_cast<long>((height - 1 - y) * row),
                  bottomUp.begin() + static_cast<long>((height - y) * row),
                  topDown.begin() + static_cast<long>(y * row));
    }
    return topDown;
}

Rgba GLTestContext::Pixel(int x, int y) const {
    uint8_t p[4] = {0, 0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, height - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return Rgba{p[0], p[1], p[2], p[3]};
}

bool GLTestContext::SavePng(const std::string& path) const {
    return WritePng(path, ReadPixels(), width, height);
}

bool WritePng(const std::string& path, const std::vector<uint8_t>& rgba, int width, int height) {
    return stbi_write_png(path.c_str(), width, height, 4, rgba.data(), width * 4) != 0;
}

}  // namespace OstrelTest
