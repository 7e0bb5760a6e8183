#include "ScreenTestBed.h"

#include "core/Config.h"
#include "core/InputManager.h"
#include "gl/FontManager.h"

namespace OstrelTest {

ScreenTestBed::ScreenTestBed(const std::string& configText) {
    game.config->text = configText;
    window.settings.width = 800;
    window.settings.height = 600;
    sprites.journal = &journal;
    text.journal = &journal;
    post.recordingFramebuffer.journal = &journal;

    bitmapFont.height = FontHeight;
    for (int c = 32; c < 127; ++c) {
        Ostrel::Character glyph;
        glyph.advance[0] = GlyphAdvance;
        bitmapFont.AddCharacter(static_cast<char>(c), glyph);
    }
    defaultFont.height = 48;
    game.fontManager->defaultFont = &defaultFont;
    game.gameData.font = &bitmapFont;
    game.gameData.fontScale = 0.5f;

    sounds.LoadSound("sounds/click.wav", "click_sound");

    auto makeEffect = [this](FakeEffectShader** shader) {
        *shader = new FakeEffectShader();
        effects.push_back(std::make_unique<Ostrel::EffectInstance>(&renderer, &time, *shader));
        return effects.back().get();
    };
    game.gameData.crtEffect = makeEffect(&crtShader);
    game.gameData.ditherEffect = makeEffect(&ditherShader);
    game.gameData.gameboyEffect = makeEffect(&gameboyShader);

    game.states["game"] = &tableProbe;
}

ScreenTestBed::~ScreenTestBed() {
    // The states belong to the tests; the game must not outlive them with
    // pointers into them, nor keep the fonts of this bed.
    game.states.clear();
    game.currentState = nullptr;
    game.fontManager->defaultFont = nullptr;
}

void ScreenTestBed::WireState(Ostrel::State* state) {
    state->windowManager = &window;
    state->textureManager = &textures;
    state->spriteRenderer = &sprites;
    state->textRenderer = &text;
    state->postProcessManager = &post;
    state->timeManager = &time;
    state->soundManager = &sounds;
}

void ScreenTestBed::Register(const std::string& name, Ostrel::State* state) {
    game.AddState(name, state);
}

void ScreenTestBed::Resize(int width, int height) {
    renderer.SetSize(width, height);
    window.Resize(width, height);
}

void ScreenTestBed::Frame(float dt) {
    game.inputManager->Update(dt);
    if (game.currentState != nullptr) game.currentState->Update(dt);
    game.inputManager->EndFrame();
    game.eventBuffer.count = 0;
}

void ScreenTestBed::Render() {
    if (game.currentState != nullptr) game.currentState->Render();
}

void ScreenTestBed::ClearRecords() {
    journal.clear();
    sprites.Clear();
    text.Clear();
}

void ScreenTestBed::Push(const SDL_Event& event) {
    game.eventBuffer.events[game.eventBuffer.count++] = event;
}

void ScreenTestBed::Key(SDL_Keycode key) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = key;
    Push(e);
}

void ScreenTestBed::Motion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    Push(e);
}

void ScreenTestBed::Button(bool down, Uint8 button) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = button;
    Push(e);
}

void ScreenTestBed::PadButton(SDL_GameControllerButton button) {
    SDL_Event e{};
    e.type = SDL_CONTROLLERBUTTONDOWN;
    e.cbutton.which = 0;
    e.cbutton.button = static_cast<Uint8>(button);
    Push(e);
}

void ScreenTestBed::PadAxis(SDL_GameControllerAxis axis, Sint16 value) {
    SDL_Event e{};
    e.type = SDL_CONTROLLERAXISMOTION;
    e.caxis.which = 0;
    e.caxis.axis = static_cast<Uint8>(axis);
    e.caxis.value = value;
    Push(e);
}

void ScreenTestBed::ConnectController() {
    game.inputManager->controllers[0].connected = true;
}

}  // namespace OstrelTest
