// GLTestContext.h - a real OpenGL ES 3.1 context for GL tests: a hidden SDL
// window on X (Xvfb) when DISPLAY is set, else SDL's offscreen EGL driver.
// Pixel helpers use window coordinates (origin top left, y down).
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

namespace OstrelTest {

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 0;
};

class GLTestContext {
public:
    explicit GLTestContext(int width = 800, int height = 600);
    ~GLTestContext();
    GLTestContext(const GLTestContext&) = delete;
    GLTestContext& operator=(const GLTestContext&) = delete;

    bool Ok() const { return context != nullptr; }

    // Reads the back buffer (call before swapping). Rows are returned top first.
    std::vector<uint8_t> ReadPixels() const;
    Rgba Pixel(int x, int y) const;
    // Writes the back buffer as a PNG (for failures and for looking at).
    bool SavePng(const std::string& path) const;

    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    int width;
    int height;
};

// Writes RGBA rows (top first) as a PNG.
bool WritePng(const std::string& path, const std::vector<uint8_t>& rgba, int width, int height);

}  // namespace OstrelTest
