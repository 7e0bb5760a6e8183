#include "GameOverState.h"

#include "components/MenuComponent.h"
#include "core/Framework.h"
#include "core/ITextureManager.h"
#include "core/PostProcessManager.h"
#include "core/SoundManager.h"
#include "core/SpriteRenderer.h"
#include "core/TextRenderer.h"
#include "core/WindowManager.h"

namespace {

// The logo at three times its 93 x 35 design size.
constexpr int32_t LogoWidth = 279;
constexpr int32_t LogoHeight = 105;
constexpr int32_t LogoTop = 50;

void ForgetClicks(Ostrel::MenuComponent* node) {
    node->clicked = false;
    for (Ostrel::MenuComponent* child : node->children) ForgetClicks(child);
}

}  // namespace

GameOverState::GameOverState(Ostrel::Framework* framework, GameData* data) : Ostrel::State(framework), gameData(data) {}

// The game never deletes its screens; tests and tools that do release the menu.
GameOverState::~GameOverState() {
    delete menu;
}

void GameOverState::Init() {
    delete menu;
    menu = new Ostrel::MenuComponent(inputManager, textRenderer, gameData->font);
    const Ostrel::MenuComponent::SelectedCallback onSelected = [this](Ostrel::MenuEntrySelectedEvent* event) {
        OnMenuEntrySelected(event);
    };
    menu->AddEntry("Restart", onSelected, Ostrel::MenuEntryType::Action);
    menu->AddEntry("Quit Game", onSelected, Ostrel::MenuEntryType::Action);
    menu->Initialize();
    menu->SetClickSound(soundManager->GetSound("click_sound"));
    logoTexture = textureManager->GetTexture("logo");
}

void GameOverState::OnEnter() {
    menu->Open();
    // Colours edited in the editor apply from the next game end on.
    menu->SetColor(gameData->menuColor, true);
    menu->SetSelectionColor(gameData->menuSelectionColor, true);
    menu->SetScale(gameData->fontScale);
    logoRect = Ostrel::ivec4(windowManager->settings.width / 2 - LogoWidth / 2, LogoTop, LogoWidth, LogoHeight);
    pressHeldOnEntry = inputManager->GetMouseState().left;
}

void GameOverState::OnMenuEntrySelected(Ostrel::MenuEntrySelectedEvent* event) {
    if (event->label == "Restart") {
        gameData->gameFinished = true;  // the table deals anew when it sees this
        ChangeState("game");
    } else if (event->label == "Quit Game") {
        framework->Quit();
    }
}

// Escape or controller B only closes and reopens the menu; the screen stays.
void GameOverState::Update(float dt) {
    if (pressHeldOnEntry && !inputManager->GetMouseState().left) {
        // The release of the press that ended the deal arrived as a click.
        ForgetClicks(menu);
        pressHeldOnEntry = false;
    }
    menu->Update(dt);
}

void GameOverState::Render() {
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
