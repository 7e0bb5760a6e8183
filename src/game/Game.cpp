#include "Game.h"

#include "EditorWindow.h"
#include "GameIntroState.h"
#include "GameMenuState.h"
#include "GameOverState.h"
#include "GameRunState.h"
#include "TestState.h"
#include "core/Config.h"
#include "core/IEffectFactory.h"
#include "core/InputManager.h"
#include "core/Renderer.h"
#include "core/SoundManager.h"
#include "core/WindowManager.h"
#include "editor/TexturePicker.h"
#include "gl/EffectInstance.h"
#include "gl/FontManager.h"

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <string>

namespace {

// A path the configuration lacks is reported here, once; the loader then
// reports the empty path it was given.
std::string ConfiguredPath(Ostrel::Config* config, const std::string& key) {
    std::string path;
    if (!config->GetString(key, &path)) std::cerr << "Game: no path configured under '" << key << "'" << std::endl;
    return path;
}

}  // namespace

Game::Game() : Ostrel::Framework() {
    name = "Zinnet Memory Game";
    gameData.editorVisible = false;
    gameData.gameFinished = false;
    gameData.postEffect = PostEffect::None;
    gameData.menuColor = Ostrel::vec4(1.0f, 1.0f, 1.0f, 1.0f);
    gameData.menuSelectionColor = Ostrel::vec4(1.0f, 1.0f, 0.0f, 1.0f);
    gameData.textureNames.clear();
    gameData.onAnimationSpeedChanged = [](float) {};
    gameData.normalizeFlags.clear();
    gameData.texturePicker = new Ostrel::TexturePicker(textureManager);
}

// The picker, the effects and the screens live as long as the process.
Game::~Game() = default;

void Game::Init() {
    renderer->clearColour = Ostrel::vec4(163.0f / 255.0f, 167.0f / 255.0f, 194.0f / 255.0f, 1.0f);
    InitImGui();
    windowManager->Resize(800, 600);
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    gameData.cardCount = 12;

    std::string imagePath;
    std::string dataPath;
    config->GetString("font_image_path", &imagePath);
    config->GetString("font_data_path", &dataPath);
    gameData.font = fontManager->LoadBitmapFont(imagePath, dataPath);
    gameData.fontScale = 0.5f;

    gameData.crtEffect = effectFactory->CreateCRTEffect();
    gameData.crtEffect->Initialize();
    gameData.ditherEffect = effectFactory->CreateOrderedDitherEffect();
    gameData.ditherEffect->Initialize();
    gameData.gameboyEffect = effectFactory->CreateTexelColorEffect();
    gameData.gameboyEffect->Initialize();

    float speed = DefaultAnimationSpeed;
    if (!config->GetFloat("animation_speed", &speed) || !std::isfinite(speed) || speed < 0.0f) {
        std::cerr << "Game: no usable 'animation_speed' in the configuration; using " << DefaultAnimationSpeed
                  << " rad/ms" << std::endl;
        speed = DefaultAnimationSpeed;
    }
    gameData.animationSpeed = speed;
    gameData.onAnimationSpeedChanged(gameData.animationSpeed);

    soundManager->LoadSound(ConfiguredPath(config, "click_sound"), "click_sound");
    soundManager->LoadSound(ConfiguredPath(config, "card_sound"), "card_sound");

    // "intro" first: it loads the logo that "menu" and "gameover" look up.
    AddState("intro", new GameIntroState(this, &gameData));
    AddState("game", new GameRunState(this, &gameData));
    AddState("menu", new GameMenuState(this, &gameData));
    AddState("gameover", new GameOverState(this, &gameData));
    AddState("test", new TestState(this));
    SwitchState("intro");

    gameData.normalizeFlags["u_weights"] = true;
}

void Game::Update(float dt) {
    (void)dt;
    if (inputManager->IsKeyPressed(Ostrel::KeyCode::Tab)) gameData.editorVisible = !gameData.editorVisible;
    gameData.texturePicker->Update();
}

// The editor window, while Tab has it shown.
void Game::Render() {
    EditorWindow(&gameData, renderer, windowManager, textureManager)
        .Draw(OnOrderedDitheringUsed{this}, OnCrtEffectUsed{this}, OnScreenEffectUsed{this});
}
