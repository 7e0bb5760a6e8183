#include "GLTestContext.h"

#include "TempDir.h"
#include "gl/GLVao.h"

#include <GL/glew.h>
#include <stb_image_write.h>

#include <cstdlib>
#include <iostream>

namespace OstrelTest {

std::ostream& operator<<(std::ostream& out, const Rgba& p) {
    return out << "(" << p.r << ", " << p.g << ", " << p.b << ", " << p.a << ")";
}

GLTestContext::GLTestContext(int width, int height) {
    if (std::getenv("DISPLAY") == nullptr) setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::cerr << "GLTestContext: SDL_Init failed: " << SDL_GetError() << std::endl;
        return;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    window = SDL_CreateWindow("gl test", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                              SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window != nullptr) context = SDL_GL_CreateContext(window);
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
}

GLTestContext::~GLTestContext() {
    if (context != nullptr) SDL_GL_DeleteContext(context);
    if (window != nullptr) SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool WritePng(const std::string& path, const std::vector<uint8_t>& rgba, int width, int height) {
    return stbi_write_png(path.c_str(), width, height, 4, rgba.data(), width * 4) != 0;
}

void SizeOnlyWindow::Resize(int width, int height) {
    settings.width = width;
    settings.height = height;
    Ostrel::WindowResizedEvent event;
    event.width = width;
    event.height = height;
    NotifyWindowResized(&event);
}

void GLScene::SetUp() {
    ASSERT_TRUE(gl.Ok());
    renderer.clearColour = Ostrel::vec4(0.0f, 0.0f, 0.0f, 1.0f);
    renderer.BeginFrame();
    sprites.Initialize();
    window.AddWindowResizedListener([this](Ostrel::WindowResizedEvent* e) { sprites.Resize(e->width, e->height); });
}

void GLScene::TearDown() {
    if (HasFailure()) {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string path = ExecutableDir() + "/" + test->test_suite_name() + "_" + test->name() + ".png";
        std::vector<uint8_t> rgba;
        for (const Rgba& p : Frame()) rgba.insert(rgba.end(), {uint8_t(p.r), uint8_t(p.g), uint8_t(p.b), 255});
        WritePng(path, rgba, renderer.GetWidth(), renderer.GetHeight());
        std::cout << "frame saved: " << path << std::endl;
    }
    sprites.Shutdown();
    auto* quad = static_cast<Ostrel::GLVao*>(sprites.quad);
    if (quad != nullptr) quad->Destroy();
    delete quad;
    owned.clear();
    textures.Shutdown();
}

Rgba GLScene::At(int x, int y) const {
    uint8_t p[4] = {0, 0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, renderer.GetHeight() - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return Rgba{p[0], p[1], p[2], p[3]};
}

std::vector<Rgba> GLScene::Frame() const {
    const int w = renderer.GetWidth(), h = renderer.GetHeight();
    std::vector<uint8_t> bottomUp(static_cast<size_t>(w) * h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<Rgba> frame(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = &bottomUp[(static_cast<size_t>(h - 1 - y) * w + x) * 4];
            frame[static_cast<size_t>(y) * w + x] = Rgba{p[0], p[1], p[2], p[3]};
        }
    }
    return frame;
}

Ostrel::ITexture2D* GLScene::Texture(const std::vector<uint8_t>& rgba, unsigned width, unsigned height) {
    Ostrel::TextureParameters nearest(0);
    nearest.channels = 4;
    owned.emplace_back(textures.CreateTexture(rgba.data(), width, height, nearest));
    return owned.back().get();
}

}  // namespace OstrelTest
