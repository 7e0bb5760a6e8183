// TextBench - the frame statistics screen's text load: "Test" drawn 750 times
// a frame in the default font (3000 glyphs, one buffer upload and one draw
// each), through GLTextRenderer and through a bare GL loop making the same
// per-glyph calls. One iteration is one 800 x 600 frame, finished with glFinish.
//
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/bench/bench_TextBench
//   (or with no DISPLAY: SDL's offscreen driver)
#include "core/FileReader.h"
#include "core/Renderer.h"
#include "gl/Font.h"
#include "gl/GLShaderImplementation.h"
#include "gl/GLTextRenderer.h"
#include "gl/GLTexture2D.h"
#include "gl/GLTextureManager.h"
#include "gl/TrueTypeFontLoader.h"
#include "sdl/STBImageLoader.h"

#include <GL/glew.h>
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kLines = 750;
const char* const kLine = "Test";

class BenchRenderer : public Ostrel::Renderer {
public:
    BenchRenderer() { SetSize(kWidth, kHeight); }
    void Initialize() override {}
    void BeginFrame() override {}
    void EndFrame() override {}
    void Shutdown() override {}
    void SetImGuiLayer(Ostrel::ImGuiLayer* layer) override { imGuiLayer = layer; }
};

// One GL context and everything both variants draw with, made once.
struct Scene {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    BenchRenderer renderer;
    Ostrel::FileReader reader;
    Ostrel::STBImageLoader images;
    std::unique_ptr<Ostrel::GLTextureManager> textures;
    std::unique_ptr<Ostrel::GLTextRenderer> text;
    std::unique_ptr<Ostrel::Font> font;
    bool ok = false;

    Scene() {
        // Assets are read relative to the repository root.
        if (chdir(OSTREL_SOURCE_DIR) != 0) return;
        if (std::getenv("DISPLAY") == nullptr) setenv("SDL_VIDEODRIVER", "offscreen", 0);
        if (SDL_Init(SDL_INIT_VIDEO) != 0) return;
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
        window = SDL_CreateWindow("text bench", 0, 0, kWidth, kHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (window == nullptr) return;
        context = SDL_GL_CreateContext(window);
        if (context == nullptr) return;
        glewExperimental = GL_TRUE;
        glewInit();  // under EGL it reports a missing GLX display although every entry point loaded
        glViewport(0, 0, kWidth, kHeight);
        textures = std::make_unique<Ostrel::GLTextureManager>(&images);
        text = std::make_unique<Ostrel::GLTextRenderer>(&renderer, &reader);
        text->Initialize();
        Ostrel::TrueTypeFontLoader loader(textures.get());
        font.reset(loader.LoadTrueTypeFont("assets/game/fonts/ThaleahFat.ttf", 48));
        ok = font->characters.size() == 128;
    }

    ~Scene() {
        font.reset();
        if (text) text->Shutdown();
        if (context != nullptr) SDL_GL_DeleteContext(context);
        if (window != nullptr) SDL_DestroyWindow(window);
        SDL_Quit();
    }
};

Scene& GetScene() {
    static Scene scene;
    return scene;
}

void BeginFrame() {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void BM_TextRenderer(benchmark::State& state) {
    Scene& scene = GetScene();
    if (!scene.ok) {
        state.SkipWithError("no GL context or no default font");
        return;
    }
    const Ostrel::vec4 white(1.0f, 1.0f, 1.0f, 1.0f);
    for (auto _ : state) {
        BeginFrame();
        scene.text->Begin(0);
        for (int i = 0; i < kLines; ++i)
            scene.text->DrawText(scene.font.get(), kLine, Ostrel::vec2(0.0f, 150.0f), 1.0f, white);
        scene.text->End();
        glFinish();
    }
    state.counters["glyphs/frame"] = kLines * 4;
}

// The same work with nothing in between: one program, one vertex array, the
// glyph textures by name, and per glyph the bind-if-changed, buffer bind,
// 64-byte upload and four-vertex strip the renderer issues.
void BM_RawGL(benchmark::State& state) {
    Scene& scene = GetScene();
    if (!scene.ok) {
        state.SkipWithError("no GL context or no default font");
        return;
    }
    const GLuint program =
        Ostrel::CreateShaderProgram(scene.reader.ReadFile("assets/framework/shaders/text/text_v_es.glsl"),
                                    scene.reader.ReadFile("assets/framework/shaders/text/text_f_es.glsl"));
    float vertices[16] = {};
    GLuint vao = 0;
    GLuint vbo = 0;
    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    glGenBuffers(1, &vbo);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glBufferData(GL_ARRAY_BUFFER, sizeof(vertices), vertices, GL_DYNAMIC_DRAW);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 16, reinterpret_cast<void*>(0));
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 16, reinterpret_cast<void*>(8));
    glEnableVertexAttribArray(1);
    glBindVertexArray(0);

    const GLint projection = glGetUniformLocation(program, "u_projection_matrix");
    const GLint view = glGetUniformLocation(program, "u_view_matrix");
    const GLint transform = glGetUniformLocation(program, "u_transform_matrix");
    const GLint colour = glGetUniformLocation(program, "u_color");
    const Ostrel::mat4 identity = Ostrel::mat4::Identity();
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};

    struct Glyph {
        GLuint texture;
        float bearingX, bearingY, w, h, advance;
    };
    Glyph glyphs[4];
    for (int i = 0; i < 4; ++i) {
        const Ostrel::Character* c = scene.font->GetCharacter(kLine[i]);
        glyphs[i] = Glyph{static_cast<Ostrel::GLTexture2D*>(c->texture)->id,
                          static_cast<float>(c->bearing.x),
                          static_cast<float>(c->bearing.y),
                          static_cast<float>(c->size.x),
                          static_cast<float>(c->size.y),
                          static_cast<float>(c->advance[0] >> 6)};
    }
    const float half = static_cast<float>(scene.font->height) * 0.5f;

    for (auto _ : state) {
        BeginFrame();
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_BLEND);
        glBindVertexArray(vao);
        glUseProgram(program);
        glUniformMatrix4fv(projection, 1, GL_FALSE, scene.text->projection.data());
        glUniformMatrix4fv(view, 1, GL_FALSE, scene.text->view.data());
        GLuint bound = 0;
        for (int line = 0; line < kLines; ++line) {
            glUniform4fv(colour, 1, white);
            glUniformMatrix4fv(transform, 1, GL_FALSE, identity.data());
            float penX = 0.0f;
            const float penY = static_cast<float>(kHeight) - 150.0f;
            for (const Glyph& g : glyphs) {
                const float left = penX + g.bearingX;
                const float top = penY + g.bearingY - half;
                const float quad[16] = {left, top,       0, 0, left + g.w, top,       1, 0,
                                        left, top - g.h, 0, 1, left + g.w, top - g.h, 1, 1};
                std::copy(quad, quad + 16, vertices);
                if (g.texture != bound) {
                    bound = g.texture;
                    glBindTexture(GL_TEXTURE_2D, bound);
                }
                glBindBuffer(GL_ARRAY_BUFFER, vbo);
                glBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(vertices), vertices);
                glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
                penX += g.advance;
            }
        }
        glFinish();
    }
    state.counters["glyphs/frame"] = kLines * 4;
    glDeleteBuffers(1, &vbo);
    glDeleteVertexArrays(1, &vao);
    glDeleteProgram(program);
}

}  // namespace

BENCHMARK(BM_TextRenderer)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_RawGL)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

BENCHMARK_MAIN();
