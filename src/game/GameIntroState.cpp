#include "GameIntroState.h"

#include "components/IconLabel.h"
#include "core/Config.h"
#include "core/ITextureManager.h"
#include "core/InputManager.h"
#include "core/SpriteRenderer.h"
#include "core/TextRenderer.h"
#include "core/WindowManager.h"
#include "gl/Font.h"

#include <iostream>

namespace {

const char* const Prompt = "Click to play";
// Characters in the prompt: the layout centres it by a quarter of
// height x scale per character, which is about half its drawn width.
constexpr float PromptLength = 13.0f;
constexpr uint32_t AnyFaceButton = 31;  // X, Y, A, B, Start
constexpr uint32_t AnyDirection = 15;   // the four d-pad directions

}  // namespace

GameIntroState::GameIntroState(Ostrel::Framework* framework, GameData* data)
    : Ostrel::State(framework), promptPosition(0.0f, 0.0f), gameData(data) {}

GameIntroState::~GameIntroState() {
    delete selectHint;
    delete menuHint;
}

Ostrel::ITexture2D* GameIntroState::LoadConfiguredTexture(const std::string& key) {
    std::string path;
    if (!config->GetString(key, &path)) {
        std::cerr << "GameIntroState: no picture configured under '" << key << "'" << std::endl;
        return nullptr;
    }
    // Nearest filtering keeps the pixel-art pictures crisp when scaled.
    return textureManager->LoadTexture(path, key, Ostrel::TextureParameters(0));
}

void GameIntroState::Init() {
    // A second Init after Cleanup replaces the hints instead of leaking them.
    delete menuHint;
    delete selectHint;

    menuHint = new Ostrel::IconLabel(spriteRenderer, textRenderer, gameData->font, "Menu",
                                     LoadConfiguredTexture("icon_esc"), Ostrel::ivec2(0, 0));
    menuHint->scale = 0.5f;
    menuHint->iconOffset = Ostrel::ivec2(0, 10);

    selectHint = new Ostrel::IconLabel(spriteRenderer, textRenderer, gameData->font, "Select",
                                       LoadConfiguredTexture("icon_mouse"), Ostrel::ivec2(0, 0));
    selectHint->scale = 0.5f;
    selectHint->iconOffset = Ostrel::ivec2(0, 10);

    logoTexture = LoadConfiguredTexture("logo");

    // The listener keeps the layout current even while another screen shows.
    windowManager->AddWindowResizedListener([this](Ostrel::WindowResizedEvent*) { Layout(); });
}

void GameIntroState::Cleanup() {
    // The logo stays loaded: the menu and game-over screens draw it.
    if (menuHint != nullptr && menuHint->icon != nullptr) textureManager->UnloadTexture("icon_esc");
    if (selectHint != nullptr && selectHint->icon != nullptr) textureManager->UnloadTexture("icon_mouse");
    delete menuHint;
    delete selectHint;
    menuHint = nullptr;
    selectHint = nullptr;
}

void GameIntroState::OnEnter() {
    Layout();
}

void GameIntroState::Layout() {
    const int32_t w = windowManager->settings.width;
    const int32_t h = windowManager->settings.height;
    const float fontHeight = gameData->font != nullptr ? static_cast<float>(gameData->font->GetHeight()) : 0.0f;

    promptPosition = Ostrel::vec2(static_cast<float>(w / 2) - fontHeight * gameData->fontScale * PromptLength * 0.25f,
                                  static_cast<float>(h / 2));
    const float centreX = static_cast<float>(w) * 0.5f;
    const int32_t hintY = static_cast<int32_t>(static_cast<float>(h) * 0.5f + 100.0f);
    if (menuHint != nullptr) menuHint->position = Ostrel::ivec2(static_cast<int32_t>(centreX - 125.0f), hintY);
    if (selectHint != nullptr) selectHint->position = Ostrel::ivec2(static_cast<int32_t>(centreX - 5.0f), hintY);
    logoRect = Ostrel::ivec4(w / 2 - 186, h / 8, 372, 140);
}

void GameIntroState::Update(float dt) {
    (void)dt;
    if (inputManager->GetMouseState().left) ChangeState("game");

    const Ostrel::ControllerState& controller = inputManager->controllers[0];
    if (controller.connected && ((controller.buttons & AnyFaceButton) != 0 || (controller.dpad & AnyDirection) != 0)) {
        ChangeState("game");
    }
}

void GameIntroState::Render() {
    textRenderer->Begin(0);
    textRenderer->DrawText(gameData->font, Prompt, promptPosition, gameData->fontScale,
                           Ostrel::vec4(1.0f, 1.0f, 1.0f, 1.0f));
    textRenderer->End();

    if (selectHint != nullptr) selectHint->Render();
    if (menuHint != nullptr) menuHint->Render();

    spriteRenderer->Begin(0);
    spriteRenderer->DrawSprite(logoTexture, logoRect);
    spriteRenderer->End();
}
