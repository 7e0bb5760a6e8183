// Cost of a post-processed frame on the real renderer: a full-screen scene
// drawn directly, through a pass-through effect (one copy of the offscreen
// image) and through each of the five effects, at 800 x 600 and 1920 x 1080.
// Each iteration ends with glFinish, so the figure is the whole frame's work.
// Run under Xvfb (1920 x 1080 screen) or with no DISPLAY (offscreen driver).
#include "core/FileReader.h"
#include "core/ITimeManager.h"
#include "gl/EffectInstance.h"
#include "gl/GLESRenderer_3_1.h"
#include "gl/GLEffectFactory.h"
#include "gl/GLEffectShader.h"
#include "gl/GLPostProcessManager.h"
#include "gl/GLTextureManager.h"
#include "sdl/STBImageLoader.h"
#include "SizeOnlyWindow.h"

#include <GL/glew.h>
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <vector>

namespace {

const char* const kVertex = R"(#version 300 es
layout(location = 0) in vec3 a_position;
layout(location = 1) in vec2 a_uv;
out vec2 v_uv;
void main() { v_uv = a_uv; gl_Position = vec4(a_position, 1.0); }
)";

const char* const kPassThrough = R"(#version 300 es
precision highp float;
in vec2 v_uv;
out vec4 fragColor;
uniform sampler2D u_texture0;
void main() { fragColor = vec4(texture(u_texture0, v_uv).rgb, 1.0); }
)";

// The scene: one full-screen textured quad, as a 2D screen of sprites costs
// at least one full-screen fill.
const char* const kSceneFragment = R"(#version 300 es
precision highp float;
in vec2 v_uv;
out vec4 fragColor;
uniform sampler2D u_texture0;
void main() { fragColor = texture(u_texture0, v_uv); }
)";

class BenchClock : public Ostrel::ITimeManager {
public:
    float seconds = 0.0f;
    float GetFPS() override { return 60.0f; }
    void Start() override {}
    void BeginFrame() override {}
    void EndFrame() override { seconds += 1.0f / 60.0f; }
    float GetDeltaMs() const override { return 1000.0f / 60.0f; }
    float GetTotalSeconds() const override { return seconds; }
};

enum Kind { Direct = 0, PassThrough, Crt, OrderedDither, TexelColor, Grayscale, ChromaticAberration };

// One context for the whole run; everything GL lives here.
struct Rig {
    SDL_Window* sdlWindow = nullptr;
    SDL_GLContext context = nullptr;
    OstrelTest::SizeOnlyWindow window;
    std::unique_ptr<Ostrel::GLESRenderer_3_1> renderer;
    std::unique_ptr<Ostrel::GLPostProcessManager> manager;
    BenchClock clock;
    Ostrel::FileReader reader;
    Ostrel::STBImageLoader loader;
    std::unique_ptr<Ostrel::GLTextureManager> textures;
    std::vector<std::unique_ptr<Ostrel::EffectInstance>> effects;  // indexed by Kind - 1
    std::unique_ptr<Ostrel::GLEffectShader> scene;                 // draws the scene picture
    Ostrel::ITexture2D* scenePicture = nullptr;

    bool Ok() const { return context != nullptr; }

    Rig() {
        if (std::getenv("DISPLAY") == nullptr) setenv("SDL_VIDEODRIVER", "offscreen", 0);
        if (SDL_Init(SDL_INIT_VIDEO) != 0) return;
        sdlWindow = SDL_CreateWindow("effect bench", 0, 0, 1920, 1080, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (sdlWindow == nullptr) return;
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
        context = SDL_GL_CreateContext(sdlWindow);
        if (context == nullptr) return;
        glewExperimental = GL_TRUE;
        glewInit();  // GLEW_ERROR_NO_GLX_DISPLAY under EGL is harmless

        renderer = std::make_unique<Ostrel::GLESRenderer_3_1>(&window);
        renderer->clearColour = Ostrel::vec4(163.0f / 255.0f, 167.0f / 255.0f, 194.0f / 255.0f, 1.0f);
        manager = std::make_unique<Ostrel::GLPostProcessManager>(&window, renderer.get());
        manager->Initialize();
        textures = std::make_unique<Ostrel::GLTextureManager>(&loader);
        textures->Initialize();

        Ostrel::GLEffectFactory factory(&reader, renderer.get(), &clock, textures.get());
        effects.emplace_back(
            new Ostrel::EffectInstance(renderer.get(), &clock, new Ostrel::GLEffectShader(kVertex, kPassThrough)));
        effects.emplace_back(factory.CreateCRTEffect());
        effects.emplace_back(factory.CreateOrderedDitherEffect());
        effects.emplace_back(factory.CreateTexelColorEffect());
        effects.emplace_back(factory.CreateGrayscaleEffect());
        effects.emplace_back(factory.CreateChromaticAberrationEffect());
        for (auto& effect : effects) effect->Initialize();

        scene = std::make_unique<Ostrel::GLEffectShader>(kVertex, kSceneFragment);
        scene->Load();
        scenePicture = textures->LoadTexture("assets/game/textures/cards/fox.png", "bench_scene");
        scene->textures[0] = scenePicture;
    }

    // The scene over the whole target.
    void DrawScene() {
        scene->Use();
        scene->BindTexture0();
        glBindVertexArray(sceneQuad);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        glBindVertexArray(0);
    }

    void MakeSceneQuad() {
        const float strip[20] = {-1, -1, 0, 0, 0, 1, -1, 0, 1, 0, -1, 1, 0, 0, 1, 1, 1, 0, 1, 1};
        glGenVertexArrays(1, &sceneQuad);
        glBindVertexArray(sceneQuad);
        GLuint buffer = 0;
        glGenBuffers(1, &buffer);
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glBufferData(GL_ARRAY_BUFFER, sizeof(strip), strip, GL_STATIC_DRAW);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 5 * sizeof(float), nullptr);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 5 * sizeof(float),
                              reinterpret_cast<const void*>(3 * sizeof(float)));
        glEnableVertexAttribArray(1);
        glBindVertexArray(0);
    }

    GLuint sceneQuad = 0;
};

Rig& GetRig() {
    static Rig* rig = [] {
        auto* r = new Rig();
        if (r->Ok()) r->MakeSceneQuad();
        return r;
    }();
    return *rig;
}

void BM_Frame(benchmark::State& state, int width, int height, Kind kind) {
    Rig& rig = GetRig();
    if (!rig.Ok()) {
        state.SkipWithError("no GL context");
        return;
    }
    rig.window.Resize(width, height);  // renderer size and offscreen image follow
    Ostrel::EffectInstance* effect = kind == Direct ? nullptr : rig.effects[kind - 1].get();

    for (auto _ : state) {
        rig.renderer->BeginFrame();
        if (effect != nullptr) rig.manager->Begin(effect);
        rig.DrawScene();
        if (effect != nullptr) rig.manager->End();
        rig.renderer->EndFrame();
        glFinish();
        rig.clock.EndFrame();
    }
}

const char* const kNames[] = {"direct",    "pass_through",        "crt", "ordered_dither", "texel_color",
                              "grayscale", "chromatic_aberration"};

void Register() {
    for (auto [w, h] : {std::pair<int, int>{800, 600}, {1920, 1080}}) {
        for (int kind = Direct; kind <= ChromaticAberration; ++kind) {
            const std::string name =
                std::string("Frame/") + std::to_string(w) + "x" + std::to_string(h) + "/" + kNames[kind];
            benchmark::RegisterBenchmark(name.c_str(), BM_Frame, w, h, static_cast<Kind>(kind))
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime()
                ->MinTime(1.0);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Assets are found relative to the repository root.
    if (chdir(OSTREL_SOURCE_DIR) != 0) std::cerr << "EffectBench: cannot enter " << OSTREL_SOURCE_DIR << std::endl;
    Register();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
