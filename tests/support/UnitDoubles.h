// Recording doubles for the unit tests: each sees exactly what the code under
// test asked of the interface, and nothing touches SDL video or GL.
#pragma once
#include "core/ITextureManager.h"
#include "core/ITexture2D.h"
#include "core/ITimeManager.h"
#include "core/Renderer.h"
#include "core/SoundManager.h"
#include "core/SpriteRenderer.h"
#include "core/TextRenderer.h"
#include "core/WindowManager.h"
#include "Game.h"
#include "gl/Font.h"
#include "gl/IEffectShader.h"
#include <imgui.h>
#include <imgui_internal.h>
#include <SDL.h>
#include <gtest/gtest.h>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace OstrelTest {

// Runs `fn` and returns what it printed on stderr.
template <typename Fn>
std::string Stderr(Fn fn) {
    testing::internal::CaptureStderr();
    fn();
    return testing::internal::GetCapturedStderr();
}
int Lines(const std::string& text);
std::string Str(const Ostrel::ivec4& r);  // "x,y,w,h"

// Hand-made SDL events.
SDL_Event KeyDown(SDL_Keycode key);
SDL_Event MouseButton(bool down, Uint8 button = SDL_BUTTON_LEFT);
SDL_Event MouseMotion(int x, int y);
SDL_Event PadButton(SDL_GameControllerButton button, int which = 0);
SDL_Event PadAxis(SDL_GameControllerAxis axis, Sint16 value, int which = 0);

struct SizedRenderer : Ostrel::Renderer {
    SizedRenderer(int w, int h) { SetSize(w, h); }
    void Initialize() override {}
    void BeginFrame() override {}
    void EndFrame() override {}
    void Shutdown() override {}
    void SetImGuiLayer(Ostrel::ImGuiLayer* layer) override { imGuiLayer = layer; }
};

struct SpriteCall {
    Ostrel::ITexture2D* texture;
    Ostrel::ivec4 rect;
    Ostrel::vec4 tint;
    float angle;
};
struct SpriteRecorder : Ostrel::SpriteRenderer {
    std::vector<SpriteCall> draws;
    explicit SpriteRecorder(Ostrel::Renderer* r) : Ostrel::SpriteRenderer(r) {}
    using Ostrel::SpriteRenderer::DrawSprite;
    void SetBlendMode(int) override {}
    void Initialize() override {}
    void Shutdown() override {}
    void Begin(int) override {}
    void DrawSprite(Ostrel::ITexture2D* t, Ostrel::ivec4 r, Ostrel::vec4 tint, Ostrel::vec3, float a) override {
        draws.push_back({t, r, tint, a});
    }
    void DrawSprite(Ostrel::ITexture2D* t, Ostrel::ivec4 r) override { draws.push_back({t, r, {1, 1, 1, 1}, 0}); }
    void DrawSprite(Ostrel::ITexture2D* t, Ostrel::vec2 p) override {
        draws.push_back({t, {int(p.x), int(p.y), 0, 0}, {1, 1, 1, 1}, 0});
    }
    void End() override {}
    const SpriteCall* Of(const Ostrel::ITexture2D* t) const;
};

struct TextCall {
    std::string text;
    Ostrel::vec2 position;
    float scale;
    Ostrel::vec4 colour;
};
struct TextRecorder : Ostrel::TextRenderer {
    std::vector<TextCall> draws;
    int begins = 0;
    explicit TextRecorder(Ostrel::Renderer* r) : Ostrel::TextRenderer(r) {}
    void SetBlendMode(int) override {}
    void Initialize() override {}
    void Shutdown() override {}
    void Begin(int) override { ++begins; }
    void DrawText(Ostrel::Font*, std::string text, const Ostrel::vec2& p, float s, const Ostrel::vec4& c) override {
        draws.push_back({text, p, s, c});
    }
    void End() override {}
    const TextCall* Of(const std::string& text) const;
};

struct FakeTexture : Ostrel::ITexture2D {
    FakeTexture(unsigned w, unsigned h) {
        width = w;
        height = h;
    }
    void Bind() override {}
    void Unload() override { state = Ostrel::LifecycleReleased; }
};

// Keyed loads are owned here; CreateTexture results belong to the caller.
struct TextureRecorder : Ostrel::ITextureManager {
    std::map<std::string, std::unique_ptr<FakeTexture>> textures;
    std::vector<std::string> paths;
    std::vector<std::vector<unsigned char>> created;  // pixels given to CreateTexture
    void Initialize() override {}
    Ostrel::ITexture2D* LoadTexture(std::string path, std::string key) override { return Load(path, key); }
    Ostrel::ITexture2D* LoadTexture(std::string path, Ostrel::TextureParameters) override { return Load(path, path); }
    Ostrel::ITexture2D* LoadTexture(std::string path, std::string key, Ostrel::TextureParameters) override {
        return Load(path, key);
    }
    Ostrel::ITexture2D* LoadTexture(std::string path) override { return Load(path, path); }
    Ostrel::ITexture2D* CreateTexture(const unsigned char* px, unsigned w, unsigned h,
                                      Ostrel::TextureParameters params) override;
    Ostrel::ITexture2D* CreateTexture(const unsigned char* px, unsigned w, unsigned h) override {
        return CreateTexture(px, w, h, Ostrel::TextureParameters());
    }
    Ostrel::ITexture2D* GetTexture(std::string key) override;
    bool FindKey(Ostrel::ITexture2D* texture, std::string* key) override;
    void UnloadTexture(std::string key) override { textures.erase(key); }
    void UnloadAll() override { textures.clear(); }
    void Shutdown() override { textures.clear(); }
    Ostrel::ITexture2D* Load(const std::string& path, const std::string& key);
};

struct CountingSound : Ostrel::Sound {
    int plays = 0;
    void Play() override { ++plays; }
    void Release() override {}
};
struct SoundRecorder : Ostrel::SoundManager {
    std::map<std::string, std::unique_ptr<CountingSound>> sounds;
    void Init() override {}
    Ostrel::Music* GetMusic(std::string) override { return nullptr; }
    Ostrel::Music* LoadMusic(std::string, std::string) override { return nullptr; }
    Ostrel::Music* LoadMusic(std::string) override { return nullptr; }
    Ostrel::Sound* GetSound(std::string name) override;
    Ostrel::Sound* LoadSound(std::string, std::string name) override;
    void ReleaseAll() override {}
    void Shutdown() override {}
    int Plays(const std::string& name) const;
};

struct WindowRecorder : Ostrel::WindowManager {
    void Resize(int width, int height) override;
    void SetFullscreen() override {}
    void Create(Ostrel::WindowSettings s) override { settings = s; }
    void ProcessEvents() override {}
    void SwapBuffers() override {}
    void Destroy() override {}
};

struct StepTime : Ostrel::ITimeManager {
    float GetFPS() override { return 60.0f; }
    void Start() override {}
    void BeginFrame() override {}
    void EndFrame() override {}
    float GetDeltaMs() const override { return 16.0f; }
    float GetTotalSeconds() const override { return 0.0f; }
};

struct FakeUniform : Ostrel::ShaderUniform {
    explicit FakeUniform(Ostrel::UniformType type) : ShaderUniform(type) {}
    void ResolveLocation() override {}
    void Use() override {}
};
// Uniforms and texture slots only; nothing reaches GL.
struct FakeEffectShader : Ostrel::IEffectShader {
    std::map<std::string, Ostrel::ShaderUniform*> uniforms;
    std::vector<std::unique_ptr<FakeUniform>> owned;
    Ostrel::ITexture2D* textures[4] = {};
    std::map<std::string, Ostrel::ShaderUniform*>* GetUniforms() override { return &uniforms; }
    Ostrel::ShaderUniform* GetUniform(std::string name) override { return uniforms[name]; }
    void SetUniform(std::string name, Ostrel::ShaderUniform* u) override { uniforms[name] = u; }
    Ostrel::ShaderUniform* CreateUniform(std::string name, Ostrel::UniformType type) override {
        return CreateUniform(name, type, name);
    }
    Ostrel::ShaderUniform* CreateUniform(std::string, Ostrel::UniformType type, std::string key) override {
        owned.push_back(std::make_unique<FakeUniform>(type));
        return uniforms[key] = owned.back().get();
    }
    void Use() override {}
    void Load() override {}
    void Unload() override {}
    void SetResolution(Ostrel::ivec2) override {}
    void SetTime(float) override {}
    void SetRandom(float) override {}
    void BindTexture0() override {}
    void BindTexture1() override {}
    void BindTexture2() override {}
    void BindTexture3() override {}
    Ostrel::ITexture2D* GetTexture(int slot) override { return textures[slot]; }
    void SetTexture(int slot, Ostrel::ITexture2D* t) override { textures[slot] = t; }
};

// An ImGui context without a back end: frames are built and thrown away.
struct HeadlessGui {
    HeadlessGui();
    ~HeadlessGui();
    // One frame with `draw` inside the window "T"; returns the text it drew
    // ("[ label ]" for a button), one line per line of items, up to the end
    // of the first popup.
    std::string Frame(const std::function<void()>& draw = {});
    // Queues a press of the item `label` submitted in `window`, inside
    // PushID(scope) when a scope is given.
    static void Press(ImGuiWindow* window, const std::string& label, const std::string& scope = "");
    static ImGuiWindow* Window(const std::string& name) { return ImGui::FindWindowByName(name.c_str()); }
    static ImGuiWindow* Child(ImGuiWindow* parent, const std::string& name);
    static ImGuiWindow* TopPopup();
};

struct ScreenGame : Game {
    using Game::config;
    using Game::currentState;
    using Game::eventBuffer;
    using Game::fontManager;
    using Game::gameData;
    using Game::inputManager;
    using Game::running;
    using Game::states;
};

// A game whose screens draw into recorders: a window of 800 x 600, a bitmap
// font 32 high with 16-pixel advances at scale 0.5, "click_sound" and
// "card_sound" loaded. Time advances only by the frames a test runs.
struct ScreenBed {
    ScreenGame game;
    SizedRenderer renderer{800, 600};
    SpriteRecorder sprites{&renderer};
    TextRecorder text{&renderer};
    TextureRecorder textures;
    SoundRecorder sounds;
    WindowRecorder window;
    StepTime time;
    Ostrel::Font font{Ostrel::Bitmap};
    std::vector<std::function<void()>> deleters;
    explicit ScreenBed(const std::string& config = "");
    ~ScreenBed();
    template <typename S>
    S* Add(const std::string& name, S* state) {
        Wire(state);
        game.AddState(name, state);
        deleters.push_back([state] { delete state; });
        return state;
    }
    void Wire(Ostrel::State* state);
    void Frame(std::vector<SDL_Event> events = {}, float dt = 16.0f);
    void Click(int x, int y);  // press in one frame, release in the next
    void Render();             // the current screen, into emptied recorders
    std::string Current() const;
};

}  // namespace OstrelTest
