// Sprite throughput on the real renderer (Xvfb or the offscreen driver):
// N sprites of one 128 x 128 texture, each drawn 32 x 32 with alpha blending,
// at 800 x 600, one frame per iteration closed by glFinish. The same frame is
// also drawn by a minimal raw-GL loop making the same calls per sprite (one
// matrix upload, one tint upload, one indexed draw); ours / raw is the cost of
// the renderer's abstraction, since one draw per sprite is the design.
#include "core/FileReader.h"
#include "gl/GLESRenderer_3_1.h"
#include "gl/GLSpriteRenderer.h"
#include "gl/GLSpriteShader.h"
#include "gl/GLShaderImplementation.h"
#include "gl/GLTexture2D.h"
#include "gl/QuadMesh.h"
#include "SizeOnlyWindow.h"

#include <GL/glew.h>
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kSpriteSize = 32;

struct Scene {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    OstrelTest::SizeOnlyWindow windowManager;
    Ostrel::FileReader files;
    std::unique_ptr<Ostrel::GLESRenderer_3_1> renderer;
    std::unique_ptr<Ostrel::GLSpriteRenderer> sprites;
    std::unique_ptr<Ostrel::GLTexture2D> texture;
    std::vector<Ostrel::ivec4> rects;
    std::vector<Ostrel::vec4> tints;
    // Raw loop resources.
    GLuint program = 0;
    GLuint vao = 0;
    GLuint buffers[3] = {};
    GLint transformLocation = -1;
    GLint tintLocation = -1;
    bool ok = false;

    Scene() {
        if (chdir(OSTREL_SOURCE_DIR) != 0) return;
        if (std::getenv("DISPLAY") == nullptr) setenv("SDL_VIDEODRIVER", "offscreen", 0);
        if (SDL_Init(SDL_INIT_VIDEO) != 0) return;
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
        window = SDL_CreateWindow("sprite bench", 0, 0, kWidth, kHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (window == nullptr) return;
        context = SDL_GL_CreateContext(window);
        if (context == nullptr) return;
        glewExperimental = GL_TRUE;
        glewInit();  // under EGL it reports a missing GLX display although every entry point loaded

        renderer = std::make_unique<Ostrel::GLESRenderer_3_1>(&windowManager);
        renderer->clearColour = Ostrel::vec4(0.1f, 0.2f, 0.1f, 1.0f);
        sprites = std::make_unique<Ostrel::GLSpriteRenderer>(renderer.get(), &files);
        sprites->Initialize();
        sprites->Resize(kWidth, kHeight);

        std::vector<uint8_t> pixels(128 * 128 * 4);
        for (size_t i = 0; i < pixels.size(); i += 4) {
            const size_t p = i / 4;
            pixels[i] = static_cast<uint8_t>(p % 128 * 2);
            pixels[i + 1] = static_cast<uint8_t>(p / 128 * 2);
            pixels[i + 2] = 128;
            pixels[i + 3] = static_cast<uint8_t>(((p % 128) / 16 + (p / 128) / 16) % 2 ? 255 : 160);
        }
        texture = std::make_unique<Ostrel::GLTexture2D>(pixels.data(), 128, 128);

        std::srand(7);
        for (int i = 0; i < 5000; ++i) {
            rects.emplace_back(std::rand() % (kWidth - kSpriteSize), std::rand() % (kHeight - kSpriteSize), kSpriteSize,
                               kSpriteSize);
            tints.emplace_back(0.5f + (std::rand() % 50) / 100.0f, 1.0f, 0.5f + (std::rand() % 50) / 100.0f, 1.0f);
        }
        BuildRawLoop();
        // llvmpipe compiles shader variants on first use; keep that out of
        // whichever benchmark happens to run first.
        for (int i = 0; i < 20; ++i) {
            OursFrame(1000);
            RawFrame(1000);
        }
        ok = true;
    }

    // The raw loop uses the same shader files, but its own program, quad and
    // locations, without any of the renderer's classes in the draw path.
    void BuildRawLoop() {
        program = Ostrel::CreateShaderProgram(files.ReadFile("assets/framework/shaders/sprite/sprite_v_es.glsl"),
                                              files.ReadFile("assets/framework/shaders/sprite/sprite_f_es.glsl"));
        transformLocation = glGetUniformLocation(program, "u_transform_matrix");
        tintLocation = glGetUniformLocation(program, "u_tint_color");
        const Ostrel::QuadMesh mesh;
        glGenVertexArrays(1, &vao);
        glBindVertexArray(vao);
        glGenBuffers(3, buffers);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers[0]);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, sizeof(mesh.indices), mesh.indices, GL_STATIC_DRAW);
        glBindBuffer(GL_ARRAY_BUFFER, buffers[1]);
        glBufferData(GL_ARRAY_BUFFER, sizeof(mesh.positions), mesh.positions, GL_STATIC_DRAW);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, nullptr);
        glEnableVertexAttribArray(0);
        glBindBuffer(GL_ARRAY_BUFFER, buffers[2]);
        glBufferData(GL_ARRAY_BUFFER, sizeof(mesh.uvs), mesh.uvs, GL_STATIC_DRAW);
        glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
        glEnableVertexAttribArray(1);
        glBindVertexArray(0);
    }

    void OursFrame(int n) {
        renderer->BeginFrame();
        sprites->Begin(0);
        for (int i = 0; i < n; ++i) {
            sprites->DrawSprite(texture.get(), rects[i], tints[i], Ostrel::vec3(0, 0, 1), 0.0f);
        }
        sprites->End();
        glFinish();
    }

    void RawFrame(int n) {
        glViewport(0, 0, kWidth, kHeight);
        glClearColor(0.1f, 0.2f, 0.1f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_BLEND);
        glBindVertexArray(vao);
        glUseProgram(program);
        glUniformMatrix4fv(glGetUniformLocation(program, "u_projection_matrix"), 1, GL_FALSE,
                           sprites->projection.data());
        glUniformMatrix4fv(glGetUniformLocation(program, "u_view_matrix"), 1, GL_FALSE, sprites->view.data());
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, texture->id);
        float model[16] = {};
        model[10] = 1.0f;
        model[15] = 1.0f;
        for (int i = 0; i < n; ++i) {
            const Ostrel::ivec4& r = rects[i];
            model[0] = static_cast<float>(r.z);
            model[5] = static_cast<float>(r.w);
            model[12] = static_cast<float>(r.x) + static_cast<float>(r.z) / 2.0f;
            model[13] = static_cast<float>(r.y) + static_cast<float>(r.w) / 2.0f;
            glUniformMatrix4fv(transformLocation, 1, GL_FALSE, model);
            glUniform4fv(tintLocation, 1, tints[i].data());
            glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_BYTE, nullptr);
        }
        glFinish();
    }
};

Scene& GetScene() {
    static Scene scene;
    return scene;
}

void BM_SpriteRenderer(benchmark::State& state) {
    Scene& scene = GetScene();
    if (!scene.ok) {
        state.SkipWithError("no GL context");
        return;
    }
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) scene.OursFrame(n);
    state.counters["sprites"] = n;
}

void BM_RawGLLoop(benchmark::State& state) {
    Scene& scene = GetScene();
    if (!scene.ok) {
        state.SkipWithError("no GL context");
        return;
    }
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) scene.RawFrame(n);
    state.counters["sprites"] = n;
}

BENCHMARK(BM_SpriteRenderer)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RawGLLoop)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
