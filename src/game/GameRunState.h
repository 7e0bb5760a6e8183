// GameRunState.h - the card table ("game"): deals and lays out the cards,
// shows them for a memorise phase, lets the player turn them with the mouse or
// a controller, keeps pairs up, turns a failed pair back after a delay, and
// hands over to "gameover" once every pair is found.
#pragma once

#include "Card.h"
#include "GameData.h"
#include "core/Math.h"
#include "core/State.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace Ostrel {
class TimerComponent;
class ITexture2D;
struct Sound;
struct WindowResizedEvent;
}  // namespace Ostrel

class GameRunState : public Ostrel::State {
public:
    // Used when the configuration has no usable "time_to_start" / "hide_time".
    static constexpr int32_t DefaultTimeToStart = 3000;
    static constexpr int32_t DefaultHideTime = 1000;
    static constexpr float DirectionRepeat = 150.0f;
    static constexpr int32_t LayoutStartSize = 256;

    GameData* gameData = nullptr;
    Ostrel::TimerComponent* startTimer = nullptr;
    Ostrel::TimerComponent* hideTimer = nullptr;
    std::vector<Card> cards;
    int32_t columns = 0;
    int32_t rows = 0;
    Ostrel::ITexture2D* cardBackTexture = nullptr;
    Ostrel::ITexture2D* navbarTexture = nullptr;
    Ostrel::ivec4 navbarRect;
    int32_t selectedIndex = 0;
    bool controllerActive = false;
    Ostrel::Sound* clickSound = nullptr;
    Ostrel::vec4 highlightTint{1.2f, 1.2f, 1.2f, 0.5f};
    Ostrel::TimerComponent* leftTimer = nullptr;
    Ostrel::TimerComponent* rightTimer = nullptr;
    Ostrel::TimerComponent* downTimer = nullptr;
    Ostrel::TimerComponent* upTimer = nullptr;

    GameRunState(Ostrel::Framework* framework, GameData* data);
    ~GameRunState();
    GameRunState(const GameRunState&) = delete;
    GameRunState& operator=(const GameRunState&) = delete;

    void Init() override;
    void Cleanup() override;
    void OnEnter() override;
    void Update(float dt) override;
    void Render() override;

    void OnStartTimerFinished(Ostrel::TimerComponent* timer);
    void OnHideTimerFinished(Ostrel::TimerComponent* timer);
    void OnWindowResized(Ostrel::WindowResizedEvent* event);
    void OnAnimationSpeedChanged(float speed);

    // Dealing, layout and pair queries (see CardLayout).
    void ResetCards();
    void DealCards();
    void LayoutCards(std::vector<Card>& cards, int32_t width, int32_t height, int32_t startSize);
    std::pair<int32_t, int32_t> FindGridFactors(int32_t n);
    bool FindMatch();
    bool AllMatched();
    void HideUnmatched();
    int32_t CountFaceUpUnmatched();

    // The memorise phase and the display of a failed pair are over.
    bool InputAllowed() const;
    static bool Expired(const Ostrel::TimerComponent* timer);

private:
    void MoveSelection();
    void LoadTextureFromConfig(const std::string& key, Ostrel::ITexture2D** result);
    float ReadDuration(const std::string& key, int32_t fallback);
};
