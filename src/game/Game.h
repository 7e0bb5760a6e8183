// Game.h - the memory game's application: names the window, holds the
// settings block every screen shares, and implements the framework's hooks.
#pragma once

#include "GameData.h"
#include "core/Framework.h"

class Game : public Ostrel::Framework {
public:
    Game();
    ~Game();

    void Init() override;
    void Update(float dt) override;
    void Render() override;

protected:
    // The editor's "Use" buttons: each makes its effect the one the screens
    // draw through.
    struct OnOrderedDitheringUsed {
        Game* game;
        void operator()() const { game->gameData.postEffect = PostEffect::OrderedDither; }
    };
    struct OnCrtEffectUsed {
        Game* game;
        void operator()() const { game->gameData.postEffect = PostEffect::CRT; }
    };
    struct OnScreenEffectUsed {
        Game* game;
        void operator()() const { game->gameData.postEffect = PostEffect::Gameboy; }
    };

    GameData gameData;
};
