#include "GLTestContext.h"

#include "TempDir.h"
#include "gl/GLSpriteShader.h"
#include "gl/GLTexture2D.h"
#include "gl/GLVao.h"

#include <GL/glew.h>
#include <stb_image_write.h>

#include <iostream>

namespace OstrelTest {

void GLScene::SetUp() {
    if (std::getenv("DISPLAY") == nullptr) setenv("SDL_VIDEODRIVER", "offscreen", 0);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    surface = SDL_CreateWindow("gl test", 0, 0, 1024, 768, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (surface != nullptr) context = SDL_GL_CreateContext(surface);
    ASSERT_NE(context, nullptr) << SDL_GetError();
    // Under EGL GLEW reports a missing GLX display, yet every entry point loaded.
    glewExperimental = GL_TRUE;
    glewInit();
    renderer.clearColour = Ostrel::vec4(0.0f, 0.0f, 0.0f, 1.0f);
    renderer.BeginFrame();
    sprites.Initialize();
    window.AddWindowResizedListener([this](Ostrel::WindowResizedEvent* e) { sprites.Resize(e->width, e->height); });
}

void GLScene::TearDown() {
    if (context != nullptr) {
        if (HasFailure()) {
            const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
            const std::string path = ExecutableDir() + "/" + test->test_suite_name() + "_" + test->name() + ".png";
            std::vector<uint8_t> rgba;
            for (const Rgba& p : Frame()) rgba.insert(rgba.end(), {uint8_t(p.r), uint8_t(p.g), uint8_t(p.b), 255});
            stbi_write_png(path.c_str(), renderer.GetWidth(), renderer.GetHeight(), 4, rgba.data(),
                           renderer.GetWidth() * 4);
            std::cout << "frame saved: " << path << std::endl;
        }
        programs.push_back(static_cast<Ostrel::GLSpriteShader*>(sprites.shader)->implementation->program);
        auto* quad = static_cast<Ostrel::GLVao*>(sprites.quad);
        if (quad != nullptr) arrays.push_back(quad->vao);
        for (const auto& texture : owned) pictures.push_back(static_cast<Ostrel::GLTexture2D*>(texture.get())->id);
        sprites.Shutdown();
        if (quad != nullptr) quad->Destroy();
        delete quad;
        owned.clear();
        textures.Shutdown();
        glUseProgram(0);  // a program in use is only flagged for deletion
        for (GLuint id : programs) EXPECT_FALSE(glIsProgram(id)) << "program " << id;
        for (GLuint id : arrays) EXPECT_FALSE(glIsVertexArray(id)) << "vertex array " << id;
        for (GLuint id : pictures) EXPECT_FALSE(glIsTexture(id)) << "texture " << id;
        SDL_GL_DeleteContext(context);
    }
    if (surface != nullptr) SDL_DestroyWindow(surface);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

Rgba GLScene::At(int x, int y) const {
    uint8_t p[4] = {0, 0, 0, 0};
    glReadPixels(x, renderer.GetHeight() - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return Rgba{p[0], p[1], p[2], p[3]};
}

std::vector<Rgba> GLScene::Frame() const {
    const int w = renderer.GetWidth(), h = renderer.GetHeight();
    std::vector<uint8_t> rows(static_cast<size_t>(w) * h * 4);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
    std::vector<Rgba> frame;
    for (int y = h - 1; y >= 0; --y) {
        for (const uint8_t* p = &rows[static_cast<size_t>(y) * w * 4]; p < &rows[static_cast<size_t>(y + 1) * w * 4];
             p += 4)
            frame.push_back(Rgba{p[0], p[1], p[2], p[3]});
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
