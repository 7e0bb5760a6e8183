// GameIntroState.h - the first screen ("intro"): the logo, the prompt
// "Click to play" and two control hints. A left click or any controller
// button or d-pad direction starts the game. It also loads the logo that the
// menu and game-over screens look up by its key, so it is registered first.
#pragma once

#include "GameData.h"
#include "core/Math.h"
#include "core/State.h"

#include <string>

namespace Ostrel {
class IconLabel;
class ITexture2D;
}  // namespace Ostrel

class GameIntroState : public Ostrel::State {
public:
    Ostrel::IconLabel* selectHint = nullptr;
    Ostrel::IconLabel* menuHint = nullptr;
    Ostrel::ITexture2D* logoTexture = nullptr;
    Ostrel::vec2 promptPosition;
    Ostrel::ivec4 logoRect;
    GameData* gameData = nullptr;

    GameIntroState(Ostrel::Framework* framework, GameData* gameData);
    ~GameIntroState();
    GameIntroState(const GameIntroState&) = delete;
    GameIntroState& operator=(const GameIntroState&) = delete;

    void Init() override;
    void Cleanup() override;
    void OnEnter() override;
    void Update(float dt) override;
    void Render() override;

    // Places prompt, hints and logo for the window's current size.
    void Layout();

private:
    // Loads the picture configured under `key` with nearest filtering and
    // registers it under the same key; null when nothing is configured.
    Ostrel::ITexture2D* LoadConfiguredTexture(const std::string& key);
};
