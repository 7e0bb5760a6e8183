// ScreenTestBed.h - the game's screens without a window: a real Game object
// (never initialised) whose screens draw, load, play and post-process through
// recording doubles, and whose real SDL input manager is fed hand-made events.
//
//   Wire(state)     points a screen's manager copies at the doubles; call it
//                   before Register so that Init already uses them
//   Register        AddState on the game (runs Init)
//   Probe           a stand-in state that only counts its entries
//   Frame(dt)       one frame as far as a screen is concerned: input update,
//                   current state update, input end of frame
//   Render()        the current state's render step
//
// One journal is shared by the sprite and text renderers and the offscreen
// framebuffer, so a test can check the order of draws across them.
#pragma once

#include "FakeEffectShader.h"
#include "FixedSizeRenderer.h"
#include "RecordingPostProcessManager.h"
#include "RecordingSoundManager.h"
#include "RecordingSpriteRenderer.h"
#include "RecordingTextRenderer.h"
#include "RecordingTextureManager.h"
#include "RecordingWindowManager.h"
#include "SteadyTimeManager.h"

#include "Game.h"
#include "core/State.h"
#include "gl/EffectInstance.h"
#include "gl/Font.h"

#include <SDL.h>

#include <memory>
#include <string>
#include <vector>

namespace OstrelTest {

class ScreenGame : public Game {
public:
    using Game::config;
    using Game::currentState;
    using Game::eventBuffer;
    using Game::fontManager;
    using Game::gameData;
    using Game::inputManager;
    using Game::running;
    using Game::states;
};

class ProbeState : public Ostrel::State {
public:
    explicit ProbeState(Ostrel::Framework* framework) : Ostrel::State(framework) {}
    int enters = 0;
    void OnEnter() override { ++enters; }
};

class ScreenTestBed {
public:
    // Bitmap font of the game's kind: 32 pixels high, 16-pixel advance for
    // every printable character.
    static constexpr int FontHeight = 32;
    static constexpr unsigned GlyphAdvance = 16;

    ScreenGame game;
    std::vector<std::string> journal;
    FixedSizeRenderer renderer{800, 600};
    RecordingSpriteRenderer sprites{&renderer};
    RecordingTextRenderer text{&renderer};
    RecordingTextureManager textures;
    RecordingSoundManager sounds;
    RecordingWindowManager window;
    RecordingPostProcessManager post{&renderer};
    SteadyTimeManager time;
    Ostrel::Font bitmapFont{Ostrel::Bitmap};
    Ostrel::Font defaultFont{Ostrel::TrueType};
    FakeEffectShader* crtShader = nullptr;
    FakeEffectShader* ditherShader = nullptr;
    FakeEffectShader* gameboyShader = nullptr;
    ProbeState tableProbe{&game};

    // Window of 800 x 600; "click_sound" loaded; three effects with fake
    // shaders; "game" registered as a probe. `configText` becomes the
    // configuration.
    explicit ScreenTestBed(const std::string& configText = "");
    ~ScreenTestBed();
    ScreenTestBed(const ScreenTestBed&) = delete;
    ScreenTestBed& operator=(const ScreenTestBed&) = delete;

    template <typename S>
    S* Wire(S* state) {
        WireState(state);
        return state;
    }
    void Register(const std::string& name, Ostrel::State* state);
    void Switch(const std::string& name) { game.SwitchState(name); }
    Ostrel::State* Current() const { return game.currentState; }

    void Resize(int width, int height);
    void Frame(float dt = 16.0f);
    void Render();
    void ClearRecords();

    // Events for the next Frame.
    void Push(const SDL_Event& event);
    void Key(SDL_Keycode key);
    void Motion(int x, int y);
    void Button(bool down, Uint8 button = SDL_BUTTON_LEFT);
    void PadButton(SDL_GameControllerButton button);
    void PadAxis(SDL_GameControllerAxis axis, Sint16 value);
    void ConnectController();

    // Lets more than the menus' 150 ms input gate pass without other input.
    void Idle() { Frame(200.0f); }

private:
    void WireState(Ostrel::State* state);
    std::vector<std::unique_ptr<Ostrel::EffectInstance>> effects;
};

}  // namespace OstrelTest
