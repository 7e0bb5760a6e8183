// The game's screens on a game object whose managers are recorders.
#include "GameIntroState.h"
#include "GameMenuState.h"
#include "GameOverState.h"
#include "GameRunState.h"
#include "TestState.h"
#include "UnitDoubles.h"
#include "components/MenuComponent.h"
#include "core/InputManager.h"
#include <gtest/gtest.h>

using namespace OstrelTest;

namespace {
struct Probe : State {
    using State::State;
};
struct Table {
    ScreenBed bed{[] {
        std::string text = "card=back.png\nicon_navbar=nav.png\ntime_to_start=1000\nhide_time=500\n";
        for (int i = 0; i < 14; ++i) text += "texture_" + std::to_string(i) + "=t" + std::to_string(i) + ".png\n";
        return text;
    }()};
    GameRunState* run;
    explicit Table(int cards = 12) {
        bed.gameData.cardCount = cards;
        run = bed.Add("game", new GameRunState(&bed, &bed.gameData));
        for (const char* name : {"menu", "gameover"}) bed.Add(name, new Probe(&bed));
        bed.SwitchState("game");
    }
    Card& card(size_t i) { return run->cards[i]; }
    void Click(size_t i) { bed.Click(card(i).x + 2, card(i).y + 2); }
    size_t Partner(size_t i) {
        for (size_t j = 0; j < run->cards.size(); ++j)
            if (j != i && card(j).pairId == card(i).pairId) return j;
        return i;
    }
    std::string Faces() {  // per card: D face down, U face up, M matched
        std::string faces;
        for (const Card& c : run->cards) faces += c.matched ? 'M' : c.faceDown ? 'D' : 'U';
        return faces;
    }
};
}  // namespace

TEST(CardTable, MousePlayRevealsMismatchesHidesMatchesAndEnds) {
    Table t;
    EXPECT_EQ(Str(t.card(0).Rect()), "96,76,128,128");
    t.bed.Frame();  // the memorise phase: face up, nothing matches yet
    EXPECT_EQ(t.Faces(), "UUUUUUUUUUUU");
    t.bed.Frame({}, 1000.0f);
    EXPECT_EQ(t.Faces(), "DDDDDDDDDDDD");
    const size_t other = t.Partner(0) == 1 ? 2 : 1;  // a card of another pair
    t.Click(0);
    EXPECT_EQ(t.bed.sounds.sounds["card_sound"].plays, 1);
    t.bed.Render();
    EXPECT_EQ(t.bed.sprites.draws[0].texture, t.bed.textures.GetTexture(t.card(0).frontTexture));
    EXPECT_EQ(t.bed.sprites.draws[1].texture, t.bed.textures.GetTexture("card"));
    EXPECT_EQ(t.bed.sprites.draws.back().texture, t.bed.textures.GetTexture("icon_navbar"));
    t.Click(other);  // a mismatch stays up for the hide time, and takes no input meanwhile
    t.Click(t.Partner(other));
    t.bed.Frame({}, 400.0f);
    EXPECT_EQ(t.Faces().substr(0, 1) + t.Faces()[other] + t.Faces()[t.Partner(other)], "UUD");
    t.bed.Frame({}, 200.0f);
    EXPECT_EQ(t.Faces(), "DDDDDDDDDDDD");
    for (size_t i = 0; i < 12; ++i) {
        if (t.card(i).matched) continue;
        t.Click(i);
        t.Click(t.Partner(i));
    }
    EXPECT_EQ(t.Faces() + t.bed.Current(), "MMMMMMMMMMMMgame");
    t.bed.Frame();
    EXPECT_EQ(t.bed.Current(), "gameover");
}

TEST(CardTable, MenuButtonOverTheFirstCardEscapeAndResizing) {
    Table t(20);
    t.bed.Frame({}, 1000.0f);
    EXPECT_EQ(Str(t.card(0).Rect()), "20,20,128,128");
    t.bed.Frame({MouseMotion(25, 25), MouseButton(true)});  // the button takes the press alone
    EXPECT_EQ(t.bed.Current() + " " + t.Faces().substr(0, 1), "menu D");
    EXPECT_EQ(t.bed.sounds.sounds["click_sound"].plays, 1);
    t.bed.SwitchState("game");
    t.bed.Frame({MouseButton(false), KeyDown(SDLK_ESCAPE)});
    EXPECT_EQ(t.bed.Current(), "menu");
    t.bed.window.Resize(1920, 1080);
    EXPECT_EQ(Str(t.run->navbarRect) + " " + Str(t.card(0).Rect()), "0,0,64,64 576,236,128,128");
    t.bed.window.Resize(1280, 720);
    EXPECT_EQ(t.run->navbarRect.z, 32);
}

TEST(CardTable, ControllerMovesTheHighlightAndRevealsWithAFaceButton) {
    Table t(20);
    t.bed.inputManager->controllers[0].connected = true;
    t.bed.Frame({}, 1000.0f);
    std::string moves;
    for (auto b : {SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_DPAD_RIGHT,
                   SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_DOWN}) {
        t.bed.Frame({}, 200.0f);
        t.bed.Frame({PadButton(b)});
        moves += std::to_string(t.run->selectedIndex) + " ";
    }
    t.bed.Frame({}, 200.0f);  // no input: nothing moves, nothing turns
    EXPECT_EQ(moves + std::to_string(t.run->selectedIndex) + " " + t.Faces(), "19 4 5 0 5 5 DDDDDDDDDDDDDDDDDDDD");
    t.bed.Render();
    EXPECT_EQ(t.bed.sprites.draws[5].tint.w + t.bed.sprites.draws[4].tint.w, 1.5f);  // the highlight is on 5
    t.bed.Frame({PadButton(SDL_CONTROLLER_BUTTON_Y)});
    EXPECT_EQ(t.Faces().substr(4, 2), "DU");
    t.bed.Frame({}, 200.0f);
    t.bed.Frame({PadButton(SDL_CONTROLLER_BUTTON_START)});
    EXPECT_EQ(t.bed.Current(), "menu");
    // A smaller deal puts a highlight beyond its end back on the first card.
    t.run->selectedIndex = 19;
    t.bed.gameData.cardCount = 12;
    t.bed.gameData.newGameRequested = true;
    t.bed.SwitchState("game");
    EXPECT_EQ(t.run->cards.size() + t.run->selectedIndex, 12u);
}

TEST(Screens, IntroShowsPromptHintsAndLogoAndAnyPressStarts) {
    ScreenBed bed("logo=logo.png\nicon_esc=esc.png\nicon_mouse=mouse.png\n");
    bed.Add("game", new Probe(&bed));
    auto* intro = bed.Add("intro", new GameIntroState(&bed, &bed.gameData));
    bed.SwitchState("intro");
    bed.Render();
    EXPECT_EQ(bed.text.begins, 3);
    ASSERT_NE(bed.text.Of("Click to play"), nullptr);
    EXPECT_FLOAT_EQ(bed.text.Of("Click to play")->position.x, 348.0f);
    std::string rects;
    for (const char* key : {"icon_esc", "icon_mouse", "logo"})
        rects += Str(bed.sprites.Of(bed.textures.GetTexture(key))->rect) + " ";
    EXPECT_EQ(rects, "275,410,16,16 395,410,16,16 214,75,372,140 ");
    bed.window.Resize(1000, 800);  // the layout follows the window
    EXPECT_EQ(intro->logoRect.x, 314);
    bed.Frame();
    EXPECT_EQ(bed.Current(), "intro");
    bed.Click(10, 10);
    EXPECT_EQ(bed.Current(), "game");
    bed.SwitchState("intro");
    bed.inputManager->controllers[0].connected = true;
    bed.Frame({PadButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT)});
    EXPECT_EQ(bed.Current(), "game");
}

TEST(Screens, MenuTreeCallbacksAndLogoSizes) {
    ScreenBed bed;
    bed.Add("game", new Probe(&bed));
    auto* menu = bed.Add("menu", new GameMenuState(&bed, &bed.gameData));
    auto choose = [&](std::vector<std::string> path) {
        bed.SwitchState("menu");
        for (const std::string& label : path) {
            bed.Frame({MouseMotion(0, 0)});  // lays the open menu out; the pointer comes from elsewhere
            for (MenuComponent* c : menu->menu->FindOpen(menu->menu)->children)
                if (c->label == label) bed.Click(c->hitRect.x + 1, c->hitRect.y + 1);
        }
    };
    choose({"Options", "Effects", "CRT Effect"});
    EXPECT_EQ(bed.gameData.postEffect, PostEffect::CRT);
    choose({"Options", "Effects", "Gameboy Effect"});
    choose({"Credits", "Back", "Options", "Back"});
    EXPECT_EQ(bed.gameData.postEffect, PostEffect::Gameboy);
    EXPECT_EQ(bed.Current(), "menu");
    for (int cards : {16, 12, 20}) {
        choose({"New Game", std::to_string(cards) + " cards"});
        EXPECT_EQ(bed.gameData.cardCount, cards);
        EXPECT_TRUE(bed.gameData.newGameRequested && bed.Current() == "game");
    }
    choose({"Continue"});
    EXPECT_EQ(bed.Current(), "game");
    bed.running = true;
    choose({"Quit Game"});
    EXPECT_FALSE(bed.running);
    const std::pair<ivec2, const char*> logos[] = {{{800, 600}, "261,50,279,105"},
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
    bed.Add("game", new Probe(&bed));
    auto* over = bed.Add("gameover", new GameOverState(&bed, &bed.gameData));
    bed.Frame({MouseMotion(400, 300), MouseButton(true)});  // the press that turned the last card
    bed.SwitchState("gameover");
    bed.Frame();
    const ivec4 restart = over->menu->children[0]->hitRect;
    bed.Frame({MouseMotion(restart.x + 1, restart.y + 1), MouseButton(false)});
    EXPECT_EQ(bed.Current(), "gameover");
    bed.Click(restart.x + 1, restart.y + 1);
    EXPECT_TRUE(bed.Current() == "game" && bed.gameData.gameFinished);
}

TEST(Screens, TestScreenShowsFrameTimeRateAndLoad) {
    ScreenBed bed;
    bed.Add("test", new TestState(&bed));
    bed.SwitchState("test");
    bed.Render();
    ASSERT_EQ(bed.text.draws.size(), 752u);
    EXPECT_EQ(bed.text.draws[0].text + " " + bed.text.draws[1].text + " " + bed.text.draws[751].text,
              "MS: 16.000000 FPS: 62.500000 Test");
    EXPECT_FLOAT_EQ(bed.text.draws[1].position.y, 75.0f);
}
