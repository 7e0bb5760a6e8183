// Recorders for the unit tests, a headless ImGui context and a screen bed; no SDL video, no GL.
#pragma once
#include "Game.h"
#include "core/ITextureManager.h"
#include "core/SoundManager.h"
#include "core/SpriteRenderer.h"
#include "core/TextRenderer.h"
#include "core/WindowManager.h"
#include "gl/Font.h"
#include "sdl/SDLTimeManager.h"
#include <SDL.h>
#include <gtest/gtest.h>
#include <imgui.h>
#include <imgui_internal.h>

namespace OstrelTest {
using namespace Ostrel;

// Runs `fn` and returns what it printed on stderr (or stdout).
std::string Captured(const std::function<void()>& fn, bool fromStdout = false);
int Lines(const std::string& text);
std::string Str(const ivec4& r);  // "x,y,w,h"

SDL_Event KeyDown(SDL_Keycode key);
SDL_Event MouseButton(bool down, Uint8 button = SDL_BUTTON_LEFT);
SDL_Event MouseMotion(int x, int y);
SDL_Event PadButton(SDL_GameControllerButton button, int which = 0);
SDL_Event PadAxis(SDL_GameControllerAxis axis, Sint16 value, int which = 0);

struct SpriteCall {
    ITexture2D* texture;
    ivec4 rect;
    vec4 tint;
};
struct SpriteRecorder : SpriteRenderer {
    std::vector<SpriteCall> draws;
    explicit SpriteRecorder(Renderer* r) : SpriteRenderer(r) {}
    void SetBlendMode(int) override {}
    void Initialize() override {}
    void Shutdown() override {}
    void Begin(int) override {}
    void DrawSprite(ITexture2D* t, ivec4 r, vec4 tint, vec3, float) override { draws.push_back({t, r, tint}); }
    void DrawSprite(ITexture2D* t, ivec4 r) override { draws.push_back({t, r, {1, 1, 1, 1}}); }
    void DrawSprite(ITexture2D* t, vec2) override { draws.push_back({t, {}, {1, 1, 1, 1}}); }
    void End() override {}
};

struct TextCall {
    std::string text;
    vec2 position;
    vec4 colour;
};
struct TextRecorder : TextRenderer {
    std::vector<TextCall> draws;
    int begins = 0;
    explicit TextRecorder(Renderer* r) : TextRenderer(r) {}
    void SetBlendMode(int) override {}
    void Initialize() override {}
    void Shutdown() override {}
    void Begin(int) override { ++begins; }
    void DrawText(Font*, std::string text, const vec2& p, float, const vec4& c) override {
        draws.push_back({text, p, c});
    }
    void End() override {}
};

struct FakeTexture : ITexture2D {
    void Bind() override {}
    void Unload() override {}
};
// Keyed loads are owned here, replaced (deleted) by a load under the key; created ones are the caller's.
struct TextureRecorder : ITextureManager {
    std::map<std::string, std::unique_ptr<FakeTexture>> textures;
    std::vector<std::string> paths;
    std::vector<std::vector<unsigned char>> created;
    void Initialize() override {}
    ITexture2D* LoadTexture(std::string path, std::string key) override { return Load(path, key); }
    ITexture2D* LoadTexture(std::string path, TextureParameters) override { return Load(path, path); }
    ITexture2D* LoadTexture(std::string path, std::string key, TextureParameters) override { return Load(path, key); }
    ITexture2D* LoadTexture(std::string path) override { return Load(path, path); }
    ITexture2D* CreateTexture(const unsigned char* px, unsigned w, unsigned h, TextureParameters params) override;
    ITexture2D* CreateTexture(const unsigned char* p, unsigned w, unsigned h) override {
        return CreateTexture(p, w, h, {});
    }
    ITexture2D* GetTexture(std::string key) override { return textures.count(key) ? textures[key].get() : nullptr; }
    bool FindKey(ITexture2D* texture, std::string* key) override {
        for (auto& [k, t] : textures)
            if (t.get() == texture) return *key = k, true;
        return false;
    }
    void UnloadTexture(std::string key) override { textures.erase(key); }
    void UnloadAll() override { textures.clear(); }
    void Shutdown() override { textures.clear(); }
    ITexture2D* Load(const std::string& path, const std::string& key) {
        paths.push_back(path);
        return (textures[key] = std::make_unique<FakeTexture>()).get();
    }
};

struct CountingSound : Sound {
    int plays = 0;
    void Play() override { ++plays; }
    void Release() override {}
};
struct SoundRecorder : SoundManager {
    std::map<std::string, CountingSound> sounds;
    void Init() override {}
    Music* GetMusic(std::string) override { return nullptr; }
    Music* LoadMusic(std::string, std::string) override { return nullptr; }
    Music* LoadMusic(std::string) override { return nullptr; }
    Sound* GetSound(std::string name) override { return sounds.count(name) ? &sounds[name] : nullptr; }
    Sound* LoadSound(std::string, std::string name) override { return &sounds[name]; }
    void ReleaseAll() override {}
    void Shutdown() override {}
};

// An ImGui context without a back end: frames are built and thrown away.
struct HeadlessGui {
    std::function<void()> draw;  // called inside the window "T" every frame
    explicit HeadlessGui(std::function<void()> draw = {});
    ~HeadlessGui() { ImGui::DestroyContext(); }
    // One frame; returns the text drawn ("[ label ]" a button) up to the end of the first popup.
    std::string Frame();
    // The ID of `label` in `window`, inside PushID(scope).
    static ImGuiID Id(ImGuiWindow* window, const std::string& label, const std::string& scope = "");
    // Presses an item; two frames, so that a popup it opens exists.
    std::string Press(ImGuiID id);
    std::string Press(ImGuiWindow* window, const std::string& label, const std::string& scope = "") {
        return Press(Id(window, label, scope));
    }
    // Presses the item, then clicks the mouse `clicks` times at the fraction `x` of its width.
    void Click(ImGuiID id, int clicks = 1, float x = 0.5f);
    static ImGuiWindow* Window(const std::string& name) { return ImGui::FindWindowByName(name.c_str()); }
    static ImGuiWindow* Child(ImGuiWindow* parent, const std::string& name);
    static ImGuiWindow* TopPopup() { return GImGui->OpenPopupStack.back().Window; }
};

// A game, never initialised, drawing into recorders: 800 x 600, a font 32 high with 16-pixel
// advances at scale 0.5, "click_sound" and "card_sound" loaded; time moves only by Frame.
struct ScreenBed : Game {
    using Game::config;
    using Game::gameData;
    using Game::inputManager;
    using Game::renderer;
    using Game::windowManager;
    SpriteRecorder sprites{renderer};
    TextRecorder text{renderer};
    TextureRecorder textures;
    SoundRecorder sounds;
    Font font{Bitmap};
    std::function<void(float)> onUpdate;  // runs after the screen's own Update
    std::vector<std::function<void()>> deleters;
    explicit ScreenBed(const std::string& configText = "");
    ~ScreenBed();
    template <typename S>
    S* Add(const std::string& name, S* state) {
        AddState(name, state);
        deleters.push_back([state] { std::default_delete<S>()(state); });  // the exact type: no virtual destructor
        return state;
    }
    void Frame(std::vector<SDL_Event> events = {}, float dt = 16.0f);
    void Click(int x, int y);  // press in one frame, release in the next
    void Render();             // the current screen, into emptied recorders
    std::string Current() const;
};

}  // namespace OstrelTest
