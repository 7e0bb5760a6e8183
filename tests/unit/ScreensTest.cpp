// The game's screens built on a game object whose managers are recorders.
#include "GameIntroState.h"
#include "GameMenuState.h"
#include "GameOverState.h"
#include "GameRunState.h"
#include "TestState.h"
#include "UnitDoubles.h"
#include "components/MenuComponent.h"
#include "core/InputManager.h"
#include <gtest/gtest.h>

using OstrelTest::MouseButton;
using OstrelTest::MouseMotion;
using OstrelTest::PadButton;
using OstrelTest::ScreenBed;
using OstrelTest::Str;

namespace {
std::string TableConfig() {
    std::string text = "card=back.png\nicon_navbar=nav.png\ntime_to_start=1000\nhide_time=500\n";
    for (int i = 0; i < 14; ++i) text += "texture_" + std::to_string(i) + "=t" + std::to_string(i) + ".png\n";
    return text;
}
struct Probe : Ostrel::State {
    using State::State;
};
struct Table {
    ScreenBed bed{TableConfig()};
    GameRunState* run;
    explicit Table(int cards = 12) {
        bed.game.gameData.cardCount = cards;
        run = bed.Add("game", new GameRunState(&bed.game, &bed.game.gameData));
        for (const char* name : {"menu", "gameover"}) bed.Add(name, new Probe(&bed.game));
        bed.game.SwitchState("game");
    }
    Card& card(size_t i) { return run->cards[i]; }
    void Click(size_t i) { bed.Click(card(i).x + 2, card(i).y + 2); }
    size_t Partner(size_t i) {
        for (size_t j = 0; j < run->cards.size(); ++j)
            if (j != i && card(j).pairId == card(i).pairId) return j;
        return i;
    }
    size_t Other(size_t i) { return Partner(i) == 1 ? 2 : 1; }  // a card of another pair than card 0's
};
}  // namespace

TEST(CardTable, MousePlayRevealsMismatchesHidesMatchesAndEnds) {
    Table t;
    EXPECT_EQ(Str(t.card(0).Rect()), "96,76,128,128");
    t.bed.Frame();  // the memorise phase: face up, nothing matches yet
    for (const Card& c : t.run->cards) EXPECT_TRUE(!c.faceDown && !c.matched);
    t.bed.Frame({}, 1000.0f);
    for (const Card& c : t.run->cards) EXPECT_TRUE(c.faceDown);
    const size_t other = t.Other(0);
    t.Click(0);
    EXPECT_FALSE(t.card(0).faceDown);
    EXPECT_EQ(t.bed.sounds.Plays("card_sound"), 1);
    t.bed.Render();
    EXPECT_EQ(t.bed.sprites.draws[0].texture, t.bed.textures.GetTexture(t.card(0).frontTexture));
    EXPECT_EQ(t.bed.sprites.draws[1].texture, t.bed.textures.GetTexture("card"));
    EXPECT_EQ(t.bed.sprites.draws.back().texture, t.bed.textures.GetTexture("icon_navbar"));
    t.Click(other);  // a mismatch stays up until the hide time has passed
    t.Click(t.Partner(other));
    EXPECT_TRUE(t.card(t.Partner(other)).faceDown);  // no input meanwhile
    t.bed.Frame({}, 400.0f);
    EXPECT_FALSE(t.card(0).faceDown);
    t.bed.Frame({}, 200.0f);
    EXPECT_TRUE(t.card(0).faceDown && t.card(other).faceDown);
    for (size_t i = 0; i < 12; ++i) {
        if (t.card(i).matched) continue;
        t.Click(i);
        t.Click(t.Partner(i));
        EXPECT_TRUE(t.card(i).matched);
    }
    EXPECT_EQ(t.bed.Current(), "game");
    t.bed.Frame();
    EXPECT_EQ(t.bed.Current(), "gameover");
}

TEST(CardTable, MenuButtonOverTheFirstCardAndKeysLeadToTheMenu) {
    Table t(20);
    t.bed.Frame({}, 1000.0f);
    EXPECT_EQ(Str(t.card(0).Rect()), "20,20,128,128");
    t.bed.Frame({MouseMotion(25, 25), MouseButton(true)});
    EXPECT_EQ(t.bed.Current(), "menu");
    EXPECT_TRUE(t.card(0).faceDown);
    EXPECT_EQ(t.bed.sounds.Plays("click_sound"), 1);
    t.bed.Frame({MouseButton(false)});
    t.bed.game.SwitchState("game");
    t.bed.Frame({OstrelTest::KeyDown(SDLK_ESCAPE)});
    EXPECT_EQ(t.bed.Current(), "menu");
    t.bed.window.Resize(1920, 1080);
    EXPECT_EQ(Str(t.run->navbarRect), "0,0,64,64");
    EXPECT_EQ(Str(t.card(0).Rect()), "576,236,128,128");
    t.bed.window.Resize(1280, 720);
    EXPECT_EQ(t.run->navbarRect.z, 32);
}

TEST(CardTable, ControllerMovesTheHighlightAndRevealsWithAFaceButton) {
    Table t(20);
    t.bed.game.inputManager->controllers[0].connected = true;
    t.bed.Frame({}, 1000.0f);
    auto press = [&](SDL_GameControllerButton b) {
        t.bed.Frame({}, 200.0f);
        t.bed.Frame({PadButton(b)});
    };
    press(SDL_CONTROLLER_BUTTON_DPAD_LEFT);  // wraps to the last card
    EXPECT_EQ(t.run->selectedIndex, 19);
    press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);  // below the last row: the same column on top
    EXPECT_EQ(t.run->selectedIndex, 4);
    press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    press(SDL_CONTROLLER_BUTTON_DPAD_UP);
    EXPECT_EQ(t.run->selectedIndex, 0);
    press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    t.bed.Frame({}, 200.0f);  // no input: nothing moves, nothing turns
    EXPECT_EQ(t.run->selectedIndex, 5);
    for (const Card& c : t.run->cards) EXPECT_TRUE(c.faceDown);
    t.bed.Render();
    EXPECT_EQ(t.bed.sprites.draws[5].tint.w, 0.5f);  // the highlight
    EXPECT_EQ(t.bed.sprites.draws[4].tint.w, 1.0f);
    press(SDL_CONTROLLER_BUTTON_Y);
    EXPECT_FALSE(t.card(5).faceDown);
    press(SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(t.bed.Current(), "menu");
    // A smaller deal puts a highlight beyond its end back on the first card.
    t.run->selectedIndex = 19;
    t.bed.game.gameData.cardCount = 12;
    t.bed.game.gameData.newGameRequested = true;
    t.bed.game.SwitchState("game");
    EXPECT_EQ(t.run->cards.size(), 12u);
    EXPECT_EQ(t.run->selectedIndex, 0);
}

TEST(Screens, IntroShowsPromptHintsAndLogoAndAnyPressStarts) {
    ScreenBed bed("logo=logo.png\nicon_esc=esc.png\nicon_mouse=mouse.png\n");
    bed.Add("game", new Probe(&bed.game));
    auto* intro = bed.Add("intro", new GameIntroState(&bed.game, &bed.game.gameData));
    bed.game.SwitchState("intro");
    bed.Render();
    EXPECT_EQ(bed.text.begins, 3);
    ASSERT_NE(bed.text.Of("Click to play"), nullptr);
    EXPECT_FLOAT_EQ(bed.text.Of("Click to play")->position.x, 348.0f);
    EXPECT_EQ(Str(bed.sprites.Of(bed.textures.GetTexture("icon_esc"))->rect), "275,410,16,16");
    EXPECT_EQ(Str(bed.sprites.Of(bed.textures.GetTexture("icon_mouse"))->rect), "395,410,16,16");
    EXPECT_EQ(Str(bed.sprites.Of(bed.textures.GetTexture("logo"))->rect), "214,75,372,140");
    bed.window.Resize(1000, 800);  // the layout follows the window
    EXPECT_EQ(intro->logoRect.x, 314);
    bed.Frame();
    EXPECT_EQ(bed.Current(), "intro");
    bed.Click(10, 10);
    EXPECT_EQ(bed.Current(), "game");
    bed.game.SwitchState("intro");
    bed.game.inputManager->controllers[0].connected = true;
    bed.Frame({PadButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT)});
    EXPECT_EQ(bed.Current(), "game");
}

TEST(Screens, MenuTreeCallbacksAndLogoSizes) {
    ScreenBed bed;
    bed.Add("game", new Probe(&bed.game));
    auto* menu = bed.Add("menu", new GameMenuState(&bed.game, &bed.game.gameData));
    auto choose = [&](std::vector<std::string> path) {
        bed.game.SwitchState("menu");
        for (const std::string& label : path) {
            Ostrel::MenuComponent* open = menu->menu->FindOpen(menu->menu);
            ASSERT_NE(open, nullptr) << label;
            Ostrel::MenuComponent* entry = nullptr;
            for (auto* c : open->children)
                if (c->label == label) entry = c;
            ASSERT_NE(entry, nullptr) << label << " in " << open->label;
            bed.Frame({MouseMotion(0, 0)});  // lays out the open menu; the pointer comes from elsewhere
            bed.Click(entry->hitRect.x + 1, entry->hitRect.y + 1);
        }
    };
    choose({"Options", "Effects", "CRT Effect"});
    EXPECT_EQ(bed.game.gameData.postEffect, PostEffect::CRT);
    choose({"Options", "Effects", "Gameboy Effect"});
    EXPECT_EQ(bed.game.gameData.postEffect, PostEffect::Gameboy);
    choose({"Credits", "Back", "Options", "Back"});
    EXPECT_EQ(bed.game.gameData.postEffect, PostEffect::Gameboy);
    EXPECT_EQ(bed.Current(), "menu");
    for (int cards : {16, 12, 20}) {
        choose({"New Game", std::to_string(cards) + " cards"});
        EXPECT_EQ(bed.game.gameData.cardCount, cards);
        EXPECT_TRUE(bed.game.gameData.newGameRequested);
        EXPECT_EQ(bed.Current(), "game");
    }
    choose({"Continue"});
    EXPECT_EQ(bed.Current(), "game");
    bed.game.running = true;
    choose({"Quit Game"});
    EXPECT_FALSE(bed.game.running);
    const std::pair<Ostrel::ivec2, const char*> logos[] = {{{800, 600}, "261,50,279,105"},
                                                           {{799, 900}, "306,50,186,70"},
                                                           {{1280, 720}, "501,50,279,105"},
                                                           {{1281, 700}, "454,50,372,140"},
                                                           {{1000, 721}, "314,50,372,140"}};
    for (const auto& [size, rect] : logos) {
        bed.window.settings.width = size.x;
        bed.window.settings.height = size.y;
        menu->UpdateLogoRect();
        EXPECT_EQ(Str(menu->logoRect), rect) << size.x << "x" << size.y;
    }
}

TEST(Screens, GameOverIgnoresTheReleaseOfTheLastCardsPress) {
    ScreenBed bed;
    bed.Add("game", new Probe(&bed.game));
    auto* over = bed.Add("gameover", new GameOverState(&bed.game, &bed.game.gameData));
    bed.Frame({MouseMotion(400, 300), MouseButton(true)});  // the press that turned the last card
    bed.game.SwitchState("gameover");
    bed.Frame();
    const Ostrel::ivec4 restart = over->menu->children[0]->hitRect;
    bed.Frame({MouseMotion(restart.x + 1, restart.y + 1), MouseButton(false)});
    EXPECT_EQ(bed.Current(), "gameover");
    bed.Click(restart.x + 1, restart.y + 1);
    EXPECT_EQ(bed.Current(), "game");
    EXPECT_TRUE(bed.game.gameData.gameFinished);
}

TEST(Screens, TestScreenShowsFrameTimeRateAndLoad) {
    ScreenBed bed;
    bed.Add("test", new TestState(&bed.game));
    bed.game.SwitchState("test");
    bed.Render();
    ASSERT_EQ(bed.text.draws.size(), 752u);
    EXPECT_EQ(bed.text.draws[0].text, "MS: 16.000000");
    EXPECT_EQ(bed.text.draws[1].text, "FPS: 60.000000");
    EXPECT_FLOAT_EQ(bed.text.draws[1].position.y, 75.0f);
    EXPECT_EQ(bed.text.draws[751].text, "Test");
}
