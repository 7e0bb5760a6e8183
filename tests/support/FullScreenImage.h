// FullScreenImage.h - draws an RGBA picture (rows top first) over the whole
// viewport, one texel per pixel when the sizes match. GL tests use it to paint
// a scene of exactly known colours into whatever framebuffer is bound.
#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <vector>

namespace OstrelTest {

class FullScreenImage {
public:
    // Needs a current GL context.
    FullScreenImage();
    ~FullScreenImage();
    FullScreenImage(const FullScreenImage&) = delete;
    FullScreenImage& operator=(const FullScreenImage&) = delete;

    // Uploads the picture, draws it at depth 0 with nearest filtering and
    // leaves program, vertex array and texture unbound.
    void Draw(const std::vector<uint8_t>& rgba, int width, int height);

private:
    GLuint program = 0;
    GLuint vao = 0;
    GLuint vbo = 0;
    GLuint texture = 0;
};

// Picture helpers, rows top first, 4 bytes a pixel.
std::vector<uint8_t> SolidImage(int width, int height, uint8_t r, uint8_t g, uint8_t b);
void FillRect(std::vector<uint8_t>& rgba, int width, int x, int y, int w, int h, uint8_t r, uint8_t g, uint8_t b);

}  // namespace OstrelTest
