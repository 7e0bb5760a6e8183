#include "GameRunState.h"

#include "CardLayout.h"
#include "components/TimerComponent.h"
#include "core/Config.h"
#include "core/ITextureManager.h"
#include "core/InputManager.h"
#include "core/PostProcessManager.h"
#include "core/SoundManager.h"
#include "core/SpriteRenderer.h"
#include "core/WindowManager.h"

#include <algorithm>
#include <iostream>
#include <string>

namespace {

constexpr int PictureCount = 14;

bool Inside(const Ostrel::ivec4& rect, int32_t px, int32_t py) {
    return rect.x <= px && px < rect.x + rect.z && rect.y <= py && py < rect.y + rect.w;
}

}  // namespace

GameRunState::GameRunState(Ostrel::Framework* framework, GameData* data)
    : Ostrel::State(framework), gameData(data), cards(), selectedIndex(0), controllerActive(false) {}

GameRunState::~GameRunState() {
    // Cleanup already freed the direction timers (and cleared them) if it ran.
    delete startTimer;
    delete hideTimer;
    delete leftTimer;
    delete rightTimer;
    delete upTimer;
    delete downTimer;
}

void GameRunState::Init() {
    cards = std::vector<Card>(static_cast<size_t>(std::max(gameData->cardCount, 0)));
    gameData->gameFinished = false;
    gameData->newGameRequested = false;

    startTimer = new Ostrel::TimerComponent([this](Ostrel::TimerComponent* timer) { OnStartTimerFinished(timer); },
                                            ReadDuration("time_to_start", DefaultTimeToStart));
    hideTimer = new Ostrel::TimerComponent([this](Ostrel::TimerComponent* timer) { OnHideTimerFinished(timer); },
                                           ReadDuration("hide_time", DefaultHideTime));
    leftTimer = new Ostrel::TimerComponent(nullptr, DirectionRepeat);
    rightTimer = new Ostrel::TimerComponent(nullptr, DirectionRepeat);
    downTimer = new Ostrel::TimerComponent(nullptr, DirectionRepeat);
    upTimer = new Ostrel::TimerComponent(nullptr, DirectionRepeat);

    gameData->textureNames = std::vector<std::string>(PictureCount);
    for (int i = 0; i < PictureCount; ++i) {
        const std::string key = "texture_" + std::to_string(i);
        LoadTextureFromConfig(key, nullptr);
        gameData->textureNames[static_cast<size_t>(i)] = key;
    }
    LoadTextureFromConfig("card", &cardBackTexture);
    LoadTextureFromConfig("icon_navbar", &navbarTexture);

    clickSound = soundManager->GetSound("click_sound");
    ResetCards();
    windowManager->AddWindowResizedListener([this](Ostrel::WindowResizedEvent* event) { OnWindowResized(event); });
    gameData->onAnimationSpeedChanged = [this](float speed) { OnAnimationSpeedChanged(speed); };
}

void GameRunState::Cleanup() {
    delete leftTimer;
    delete rightTimer;
    delete upTimer;
    delete downTimer;
    leftTimer = rightTimer = upTimer = downTimer = nullptr;
}

void GameRunState::OnEnter() {
    if (gameData->gameFinished || gameData->newGameRequested) {
        cards = std::vector<Card>(static_cast<size_t>(std::max(gameData->cardCount, 0)));
        gameData->gameFinished = false;
        gameData->newGameRequested = false;
        ResetCards();
        // A smaller deal would leave the controller highlight off the table.
        const int32_t n = static_cast<int32_t>(cards.size());
        if (selectedIndex >= n) selectedIndex = 0;
    }
    navbarRect = Ostrel::ivec4(0, 0, 32, 32);
    if (windowManager->settings.width >= 1280) navbarRect.z = navbarRect.w = 64;
}

void GameRunState::Update(float dt) {
    const Ostrel::ControllerState controller = inputManager->controllers[0];
    controllerActive = controller.connected;

    if (gameData->gameFinished) {
        ChangeState("gameover");
    } else if (inputManager->IsKeyPressed(Ostrel::KeyCode::Escape) ||
               (controllerActive && (controller.buttons & Ostrel::ControllerButton::Start) != 0)) {
        ChangeState("menu");
    }

    // A switch does not end this update: the rest of the frame still runs.
    const Ostrel::MouseState mouse = inputManager->GetMouseState();
    // The menu button lies over the corner of the first card in large deals;
    // a press on the button belongs to the button alone.
    const bool onMenuButton = Inside(navbarRect, mouse.x, mouse.y);
    if (mouse.left && onMenuButton) {
        ChangeState("menu");
        if (clickSound != nullptr) clickSound->Play();
    }

    bool select = false;
    if (controllerActive) {
        MoveSelection();
        constexpr uint32_t faceButtons = Ostrel::ControllerButton::X | Ostrel::ControllerButton::Y |
                                         Ostrel::ControllerButton::A | Ostrel::ControllerButton::B;
        select = (controller.buttons & faceButtons) != 0;
    }

    for (Card& card : cards) card.UpdateFlip(dt);

    if (!gameData->gameFinished && !gameData->editorVisible && InputAllowed()) {
        // Seen by the next update, which then switches to "gameover".
        gameData->gameFinished = AllMatched();
        for (size_t i = 0; i < cards.size(); ++i) {
            Card& card = cards[i];
            if (mouse.left && !onMenuButton && card.Contains(mouse.x, mouse.y) && card.faceDown) {
                card.Reveal();
            } else if (select && static_cast<int32_t>(i) == selectedIndex && card.faceDown) {
                card.Reveal();
            }
            if (!card.faceDown && !card.matched && CountFaceUpUnmatched() >= 2) {
                if (FindMatch()) continue;
                hideTimer->Reset();
                break;
            }
        }
    }

    downTimer->Update(dt);
    leftTimer->Update(dt);
    rightTimer->Update(dt);
    upTimer->Update(dt);
    startTimer->Update(dt);
    hideTimer->Update(dt);
}

void GameRunState::MoveSelection() {
    const Ostrel::ControllerState& controller = inputManager->controllers[0];
    const int32_t n = static_cast<int32_t>(cards.size());
    if (n == 0) return;

    // The d-pad counts in the frame it was pressed; the stick while it is held.
    const bool left = (controller.dpad & Ostrel::DpadDirection::Left) != 0 || controller.axes[0] < -0.5f;
    const bool right = (controller.dpad & Ostrel::DpadDirection::Right) != 0 || controller.axes[0] > 0.5f;
    const bool up = (controller.dpad & Ostrel::DpadDirection::Up) != 0 || controller.axes[1] < -0.5f;
    const bool down = (controller.dpad & Ostrel::DpadDirection::Down) != 0 || controller.axes[1] > 0.5f;

    if (left && Expired(leftTimer)) {
        leftTimer->Reset();
        selectedIndex -= 1;
        if (selectedIndex < 0) selectedIndex = n - 1;
    } else if (right && Expired(rightTimer)) {
        rightTimer->Reset();
        selectedIndex += 1;
        if (selectedIndex > n - 1) selectedIndex = 0;
    } else if (down && columns > 0 && Expired(downTimer)) {
        downTimer->Reset();
        selectedIndex += columns;
        if (selectedIndex > n - 1) selectedIndex = selectedIndex % columns;
    } else if (up && columns > 0 && Expired(upTimer)) {
        upTimer->Reset();
        selectedIndex -= columns;
        if (selectedIndex < 0) selectedIndex += n;
    }
}

void GameRunState::Render() {
    Ostrel::EffectInstance* effect = gameData->ChosenEffect();
    // An effect that was never created draws the table plainly.
    if (effect != nullptr) postProcessManager->Begin(effect);

    spriteRenderer->Begin(0);
    for (size_t i = 0; i < cards.size(); ++i) {
        if (controllerActive && static_cast<int32_t>(i) == selectedIndex) {
            cards[i].RenderTinted(spriteRenderer, highlightTint);
        } else {
            cards[i].Render(spriteRenderer);
        }
    }
    spriteRenderer->End();

    if (effect != nullptr) postProcessManager->End();

    // The menu button stays clear of the effect.
    spriteRenderer->Begin(0);
    if (navbarTexture != nullptr) spriteRenderer->DrawSprite(navbarTexture, navbarRect);
    spriteRenderer->End();
}

void GameRunState::OnStartTimerFinished(Ostrel::TimerComponent* timer) {
    (void)timer;
    HideUnmatched();
}

void GameRunState::OnHideTimerFinished(Ostrel::TimerComponent* timer) {
    (void)timer;
    // The hide timer is not reset by a new deal: running out during the
    // memorise phase must not hide the cards early.
    if (Expired(startTimer)) HideUnmatched();
}

void GameRunState::OnWindowResized(Ostrel::WindowResizedEvent* event) {
    (void)event;
    const int32_t width = windowManager->settings.width;
    const int32_t height = windowManager->settings.height;
    LayoutCards(cards, width, height, LayoutStartSize);
    const int32_t size = width > 1280 && height > 720 ? 64 : 32;
    navbarRect.z = size;
    navbarRect.w = size;
}

void GameRunState::OnAnimationSpeedChanged(float speed) {
    for (Card& card : cards) card.flipSpeed = speed;
}

void GameRunState::ResetCards() {
    gameData->gameFinished = false;
    for (Card& card : cards) {
        card.textureManager = textureManager;
        card.soundManager = soundManager;
        card.pairId = -1;
        card.backTexture = "card";
        card.flipSpeed = gameData->animationSpeed;
        card.LoadSound();
    }
    DealCards();
    LayoutCards(cards, windowManager->settings.width, windowManager->settings.height, LayoutStartSize);
    startTimer->Reset();
}

void GameRunState::DealCards() {
    CardLayout::Deal(cards, gameData->textureNames);
}

void GameRunState::LayoutCards(std::vector<Card>& cardList, int32_t width, int32_t height, int32_t startSize) {
    const CardLayout::Grid grid = CardLayout::Arrange(cardList, width, height, startSize);
    columns = grid.columns;
    rows = grid.rows;
}

std::pair<int32_t, int32_t> GameRunState::FindGridFactors(int32_t n) {
    return CardLayout::FindGridFactors(n);
}

bool GameRunState::FindMatch() {
    return CardLayout::FindMatch(cards);
}

bool GameRunState::AllMatched() {
    return CardLayout::AllMatched(cards);
}

void GameRunState::HideUnmatched() {
    CardLayout::HideUnmatched(cards);
}

int32_t GameRunState::CountFaceUpUnmatched() {
    return CardLayout::CountFaceUpUnmatched(cards);
}

bool GameRunState::InputAllowed() const {
    return Expired(startTimer) && Expired(hideTimer);
}

bool GameRunState::Expired(const Ostrel::TimerComponent* timer) {
    return timer != nullptr && timer->elapsed > timer->duration;
}

void GameRunState::LoadTextureFromConfig(const std::string& key, Ostrel::ITexture2D** result) {
    std::string path;
    if (!config->GetString(key, &path)) {
        std::cerr << "GameRunState: no picture configured under '" << key << "'" << std::endl;
        return;
    }
    // Nearest filtering keeps the pixel-art pictures crisp when scaled.
    Ostrel::ITexture2D* texture = textureManager->LoadTexture(path, key, Ostrel::TextureParameters(0));
    if (result != nullptr) *result = texture;
}

float GameRunState::ReadDuration(const std::string& key, int32_t fallback) {
    int value = fallback;
    if (!config->GetInt(key, &value)) {
        std::cerr << "GameRunState: no usable '" << key << "' in the configuration; using " << fallback << " ms"
                  << std::endl;
        value = fallback;
    }
    return static_cast<float>(value);
}
