// GameOverState.h - the screen shown when every pair is found ("gameover"):
// the logo through the chosen effect and a two-entry menu, "Restart" and
// "Quit Game", in the menu colours the editor sets.
#pragma once

#include "GameData.h"
#include "core/Math.h"
#include "core/State.h"

namespace Ostrel {
class MenuComponent;
class ITexture2D;
struct MenuEntrySelectedEvent;
}  // namespace Ostrel

class GameOverState : public Ostrel::State {
public:
    GameData* gameData = nullptr;
    Ostrel::MenuComponent* menu = nullptr;
    Ostrel::ivec4 logoRect;
    Ostrel::ITexture2D* logoTexture = nullptr;

    GameOverState(Ostrel::Framework* framework, GameData* gameData);
    ~GameOverState();
    GameOverState(const GameOverState&) = delete;
    GameOverState& operator=(const GameOverState&) = delete;

    void Init() override;
    void OnEnter() override;
    void Update(float dt) override;
    void Render() override;

    // The callback of both entries.
    void OnMenuEntrySelected(Ostrel::MenuEntrySelectedEvent* event);

private:
    // The left button was already down when the screen was entered: that
    // press turned the last card on the table, and its release here must not
    // choose "Restart" or "Quit Game" under the pointer.
    bool pressHeldOnEntry = false;
};
