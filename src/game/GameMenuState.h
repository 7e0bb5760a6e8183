// GameMenuState.h - the pause and main menu ("menu"): the logo, drawn through
// the chosen effect and scaled to the window, over a menu tree to resume the
// deal, deal 12, 16 or 20 cards, choose the effect, read the credits or quit.
#pragma once

#include "GameData.h"
#include "core/Math.h"
#include "core/State.h"

namespace Ostrel {
class MenuComponent;
class ITexture2D;
struct MenuEntrySelectedEvent;
}  // namespace Ostrel

class GameMenuState : public Ostrel::State {
public:
    GameData* gameData = nullptr;
    Ostrel::MenuComponent* menu = nullptr;
    Ostrel::ivec4 logoRect;
    Ostrel::ITexture2D* logoTexture = nullptr;

    GameMenuState(Ostrel::Framework* framework, GameData* gameData);
    ~GameMenuState();
    GameMenuState(const GameMenuState&) = delete;
    GameMenuState& operator=(const GameMenuState&) = delete;

    void Init() override;
    void Cleanup() override;
    void OnEnter() override;
    void Update(float dt) override;
    void Render() override;

    // The callback of every entry.
    void OnMenuEntrySelected(Ostrel::MenuEntrySelectedEvent* event);

    // Sizes the logo in steps (x2, x3, x4 of its 93 x 35 design) to the window.
    void UpdateLogoRect();
};
