#include "GameMenuState.h"

#include "components/MenuComponent.h"
#include "core/Framework.h"
#include "core/ITextureManager.h"
#include "core/PostProcessManager.h"
#include "core/SoundManager.h"
#include "core/SpriteRenderer.h"
#include "core/TextRenderer.h"
#include "core/WindowManager.h"

namespace {

// The logo's design size; it is drawn at two, three or four times this.
constexpr int32_t LogoWidth = 93;
constexpr int32_t LogoHeight = 35;
constexpr int32_t LogoTop = 50;

}  // namespace

GameMenuState::GameMenuState(Ostrel::Framework* framework, GameData* data) : Ostrel::State(framework), gameData(data) {}

// The game never deletes its screens; tests and tools that do release the tree.
GameMenuState::~GameMenuState() {
    delete menu;
}

void GameMenuState::Init() {
    using Ostrel::MenuEntryType;
    delete menu;
    menu = new Ostrel::MenuComponent(inputManager, textRenderer, gameData->font);
    const Ostrel::MenuComponent::SelectedCallback onSelected = [this](Ostrel::MenuEntrySelectedEvent* event) {
        OnMenuEntrySelected(event);
    };

    menu->AddEntry("Continue", onSelected, MenuEntryType::Action);
    Ostrel::MenuComponent* newGame = menu->AddEntry("New Game", onSelected, MenuEntryType::Action);
    Ostrel::MenuComponent* options = menu->AddEntry("Options", onSelected, MenuEntryType::Action);
    Ostrel::MenuComponent* credits = menu->AddEntry("Credits", onSelected, MenuEntryType::Action);
    menu->AddEntry("Quit Game", onSelected, MenuEntryType::Action);

    Ostrel::MenuComponent* effects = options->AddEntry("Effects", onSelected, MenuEntryType::Action);

    // No back entry here: Escape or controller B leaves the deck sizes.
    newGame->AddEntry("12 cards", onSelected, MenuEntryType::Action);
    newGame->AddEntry("16 cards", onSelected, MenuEntryType::Action);
    newGame->AddEntry("20 cards", onSelected, MenuEntryType::Action);

    options->AddEntry("Back", onSelected, MenuEntryType::Back);

    effects->AddEntry("None", onSelected, MenuEntryType::Action);
    effects->AddEntry("CRT Effect", onSelected, MenuEntryType::Action);
    effects->AddEntry("Dither Effect", onSelected, MenuEntryType::Action);
    effects->AddEntry("Gameboy Effect", onSelected, MenuEntryType::Action);
    effects->AddEntry("Back", onSelected, MenuEntryType::Back);

    credits->AddLabel("Art - Dorvane Tamsel");
    credits->AddLabel("Programming - Halbrenk Oskel");
    credits->AddLabel("Programming - Vantosi Tobran");
    credits->AddLabel("Font - Wendral Mauk");
    credits->AddEntry("Back", onSelected, MenuEntryType::Back);

    menu->Initialize();
    menu->SetClickSound(soundManager->GetSound("click_sound"));
    logoTexture = textureManager->GetTexture("logo");
}

void GameMenuState::Cleanup() {}

void GameMenuState::OnEnter() {
    menu->SetScale(gameData->fontScale);
    // Re-opening the root hides a submenu left open on the last visit.
    menu->Open();
}

void GameMenuState::OnMenuEntrySelected(Ostrel::MenuEntrySelectedEvent* event) {
    const std::string& label = event->label;
    if (label == "Continue") {
        menu->Close();  // Update sees the closed menu and returns to the table
    } else if (label == "Quit Game") {
        framework->Quit();
    } else if (label == "12 cards" || label == "16 cards" || label == "20 cards") {
        gameData->newGameRequested = true;
        gameData->cardCount = label == "12 cards" ? 12 : label == "16 cards" ? 16 : 20;
        ChangeState("game");
    } else if (label == "CRT Effect") {
        gameData->postEffect = PostEffect::CRT;
    } else if (label == "Dither Effect") {
        gameData->postEffect = PostEffect::OrderedDither;
    } else if (label == "None") {
        gameData->postEffect = PostEffect::None;
    } else if (label == "Gameboy Effect") {
        gameData->postEffect = PostEffect::Gameboy;
    }
    // Submenus and "Back" are opened by the menu itself.
}

void GameMenuState::UpdateLogoRect() {
    const int32_t w = windowManager->settings.width;
    const int32_t h = windowManager->settings.height;
    int32_t logoScale = 3;
    if (w < 800 || h < 600) {
        logoScale = 2;
    } else if (w > 1280 || h >= 721) {
        logoScale = 4;
    }
    logoRect =
        Ostrel::ivec4(w / 2 - (logoScale * LogoWidth) / 2, LogoTop, logoScale * LogoWidth, logoScale * LogoHeight);
}

void GameMenuState::Update(float dt) {
    UpdateLogoRect();
    menu->Update(dt);
    // Closed by "Continue", or by Escape / controller B on the root menu.
    if (menu->IsClosed()) ChangeState("game");
}

void GameMenuState::Render() {
    // The logo goes through the effect; the menu text stays crisp above it.
    Ostrel::EffectInstance* effect = gameData->ChosenEffect();
    if (effect != nullptr) postProcessManager->Begin(effect);

    spriteRenderer->Begin(0);
    spriteRenderer->DrawSprite(logoTexture, logoRect);
    spriteRenderer->End();

    if (effect != nullptr) postProcessManager->End();

    textRenderer->Begin(0);
    menu->Draw();
    textRenderer->End();
}
