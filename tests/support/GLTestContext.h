// GLTestContext.h - GLScene, the fixture of the GL picture tests: a real OpenGL ES 3.1 context (a hidden SDL
// window on X, else SDL's offscreen EGL driver) with the real renderer, sprites and texture manager. Pixel
// helpers use window coordinates (origin top left, y down).
#pragma once

#include "core/FileReader.h"
#include "gl/GLESRenderer_3_1.h"
#include "gl/GLSpriteRenderer.h"
#include "gl/GLTextureManager.h"
#include "sdl/STBImageLoader.h"

#include "SizeOnlyWindow.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace OstrelTest {

struct Rgba {
    int r = 0, g = 0, b = 0, a = 0;
    bool Near(int r_, int g_, int b_, int tolerance = 3) const {
        return std::abs(r - r_) <= tolerance && std::abs(g - g_) <= tolerance && std::abs(b - b_) <= tolerance;
    }
    bool Lit() const { return r + g + b > 120; }
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};
inline std::ostream& operator<<(std::ostream& out, const Rgba& p) {
    return out << "(" << p.r << ", " << p.g << ", " << p.b << ", " << p.a << ")";
}

// A 1024 x 768 surface whose renderer starts at 800 x 600, so a test can grow
// it. The frame starts cleared black; sprites follow the window as in the
// game. On failure the frame is saved as a PNG beside the test executable.
class GLScene : public ::testing::Test {
protected:
    SizeOnlyWindow window{800, 600};
    Ostrel::GLESRenderer_3_1 renderer{&window};
    Ostrel::FileReader files;
    Ostrel::STBImageLoader images;
    Ostrel::GLTextureManager textures{&images};
    Ostrel::GLSpriteRenderer sprites{&renderer, &files};
    SDL_Window* surface = nullptr;
    SDL_GLContext context = nullptr;
    // GL names of programs, vertex arrays and textures that must be gone after TearDown.
    std::vector<unsigned> programs, arrays, pictures;

    void SetUp() override;
    void TearDown() override;

    // One pixel, or the whole frame (top row first), of the renderer's size.
    Rgba At(int x, int y) const;
    std::vector<Rgba> Frame() const;
    // A nearest-filtered texture from RGBA rows (top row first), freed with the fixture.
    Ostrel::ITexture2D* Texture(const std::vector<uint8_t>& rgba, unsigned width, unsigned height);

private:
    std::vector<std::unique_ptr<Ostrel::ITexture2D>> owned;
};

}  // namespace OstrelTest
