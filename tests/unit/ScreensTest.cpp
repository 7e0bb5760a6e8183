// The game's screens on a game object whose managers are recorders.
#include "GameIntroState.h"
#include "GameMenuState.h"
#include "GameOverState.h"
#include "GameRunState.h"
#include "TestState.h"
#include "UnitDoubles.h"
#include "components/MenuComponent.h"
#include "core/Config.h"

using namespace OstrelTest;

// Clicks through `path` in the open menu under `root`, each entry after a frame that lays it out.
void ClickThrough(ScreenBed& bed, MenuComponent* root, const std::vector<std::string>& path) {
    for (const std::string& label : path) {
        bed.Frame({MouseMotion(0, 0)});  // the pointer comes from elsewhere
        for (MenuComponent* c : root->FindOpen(root)->children)
            if (c->label == label) bed.Click(c->hitRect.x + 1, c->hitRect.y + 1);
    }
}

struct Table : ScreenBed {
    GameRunState* run;
    GameMenuState* menu = nullptr;  // with `screens`, else stand-ins
    GameOverState* over = nullptr;
    explicit Table(int cards = 12, bool screens = false)
        : ScreenBed("card=c.png\nicon_navbar=n.png\ntime_to_start=1000\nhide_time=500\n") {
        for (int i = 0; i < 14; ++i) config->text += "texture_" + std::to_string(i) + "=t.png\n";
        gameData.cardCount = cards;
        run = Add("game", new GameRunState(this, &gameData));
        if (screens) {
            menu = Add("menu", new GameMenuState(this, &gameData));
            over = Add("gameover", new GameOverState(this, &gameData));
        } else {
            for (const char* name : {"menu", "gameover"}) Add(name, new TestState(this));
        }
        SwitchState("game");
    }
    Card& card(size_t i) { return run->cards[i]; }
    void ClickCard(size_t i) { Click(card(i).x + card(i).w / 2, card(i).y + card(i).h / 2); }
    size_t Partner(size_t i) {
        for (size_t j = 0; j < run->cards.size(); ++j)
            if (j != i && card(j).pairId == card(i).pairId) return j;
        return i;
    }
    void PlayDeal() {  // pair by pair, once the memorise phase is over
        Frame({}, 1500.0f);
        for (size_t i = 0; i < run->cards.size(); ++i) {
            if (card(i).matched) continue;
            ClickCard(i);
            ClickCard(Partner(i));
        }
    }
    std::string Faces() {  // per card: D face down, U face up, M matched
        std::string faces;
        for (const Card& c : run->cards) faces += c.matched ? 'M' : c.faceDown ? 'D' : 'U';
        return faces;
    }
};

TEST(CardTable, MouseAndControllerPlayMenuButtonEscapeAndResizing) {
    Table t;
    t.Frame();  // the memorise phase: face up, nothing matches yet
    EXPECT_EQ(t.Faces(), "UUUUUUUUUUUU");
    EXPECT_EQ(Str(t.card(0).Rect()), "96,76,128,128");
    EXPECT_EQ(Str(t.run->navbarRect), "0,0,32,32");
    t.Frame({}, 1000.0f);
    EXPECT_EQ(t.Faces(), "DDDDDDDDDDDD");
    const size_t other = t.Partner(0) == 1 ? 2 : 1;  // a card of another pair
    t.ClickCard(0);
    EXPECT_EQ(t.sounds.sounds["card_sound"].plays, 1);
    t.ClickCard(other);  // a mismatch stays up for the hide time, and takes no input meanwhile
    t.ClickCard(t.Partner(other));
    t.Frame({}, 400.0f);
    EXPECT_EQ(t.Faces().substr(0, 1) + t.Faces()[other] + t.Faces()[t.Partner(other)], "UUD");
    t.Frame({}, 200.0f);
    EXPECT_EQ(t.Faces(), "DDDDDDDDDDDD");
    t.PlayDeal();
    EXPECT_EQ(t.Faces(), "MMMMMMMMMMMM");
    EXPECT_EQ(t.Current(), "game");
    t.Frame();
    EXPECT_EQ(t.Current(), "gameover");
    // With 20 cards the menu button lies over the first card, and takes the press alone.
    t.gameData.cardCount = 20;
    t.gameData.newGameRequested = true;
    t.SwitchState("game");
    t.Frame({}, 1000.0f);
    t.Frame({MouseMotion(25, 25), MouseButton(true)});
    EXPECT_EQ(t.Current(), "menu");
    EXPECT_EQ(t.Faces()[0], 'D');
    EXPECT_EQ(Str(t.card(0).Rect()), "20,20,128,128");
    EXPECT_EQ(t.sounds.sounds["click_sound"].plays, 1);
    t.SwitchState("game");
    t.Frame({MouseButton(false), KeyDown(SDLK_ESCAPE)});
    t.windowManager->Resize(1920, 1080);
    EXPECT_EQ(t.Current(), "menu");
    EXPECT_EQ(Str(t.run->navbarRect), "0,0,64,64");
    EXPECT_EQ(Str(t.card(0).Rect()), "576,236,128,128");
    t.windowManager->Resize(1280, 720);
    EXPECT_EQ(Str(t.run->navbarRect), "0,0,32,32");
    // A controller moves a highlight over the cards, a face button reveals, Start opens the menu.
    t.SwitchState("game");
    EXPECT_EQ(Str(t.run->navbarRect), "0,0,64,64");  // entered at 1280 x 720, unlike the resize
    t.inputManager->controllers[0].connected = true;
    std::string moves;
    for (auto b : {SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_DPAD_RIGHT,
                   SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_DOWN,
                   SDL_CONTROLLER_BUTTON_DPAD_DOWN}) {
        t.Frame({}, 1000.0f);
        t.Frame({PadButton(b)});
        moves += std::to_string(t.run->selectedIndex) + " ";
    }
    t.Frame({}, 200.0f);  // no input: nothing moves, nothing turns
    EXPECT_EQ(moves + std::to_string(t.run->selectedIndex), "19 4 5 0 15 0 5 5");  // each wraps in its column
    EXPECT_EQ(t.Faces(), "DDDDDDDDDDDDDDDDDDDD");
    t.Render();
    EXPECT_EQ(t.sprites.draws[5].tint.w, 0.5f);  // the highlight, half transparent, is on 5
    EXPECT_EQ(t.sprites.draws[4].tint.w, 1.0f);
    t.Frame({PadButton(SDL_CONTROLLER_BUTTON_Y)});
    t.Frame({}, 200.0f);
    t.Frame({PadButton(SDL_CONTROLLER_BUTTON_START)});
    EXPECT_EQ(t.Faces().substr(4, 2), "DU");
    EXPECT_EQ(t.Current(), "menu");
    t.SwitchState("game");  // Continue: the table as it was left
    EXPECT_EQ(t.Faces().substr(4, 2), "DU");
    t.run->selectedIndex = 12;  // a smaller deal puts a highlight beyond its end on the first card
    t.gameData.cardCount = 12;
    t.gameData.newGameRequested = true;
    t.SwitchState("game");
    EXPECT_EQ(t.run->cards.size(), 12u);
    EXPECT_EQ(t.run->selectedIndex, 0);
    // Each direction, pressed or held, steps one card or one row the way it points, once in
    // 150 ms: from card 5, inside the 4 x 3 table, where a wrap cannot hide a wrong step; then
    // next to the edges, and from the last card to the first.
    const SDL_Event left = PadButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT),
                    right = PadButton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT), up = PadButton(SDL_CONTROLLER_BUTTON_DPAD_UP),
                    down = PadButton(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    const SDL_Event stickLeft = PadAxis(SDL_CONTROLLER_AXIS_LEFTX, -32767),
                    stickRight = PadAxis(SDL_CONTROLLER_AXIS_LEFTX, 32767),
                    stickUp = PadAxis(SDL_CONTROLLER_AXIS_LEFTY, -32767),
                    stickDown = PadAxis(SDL_CONTROLLER_AXIS_LEFTY, 32767);
    const std::vector<std::pair<int, SDL_Event>> rows{{5, left},      {5, right},      {5, up},      {5, down},
                                                      {5, stickLeft}, {5, stickRight}, {5, stickUp}, {5, stickDown},
                                                      {1, left},      {10, right},     {11, right},  {7, down}};
    std::string steps;
    for (auto [from, input] : rows) {
        t.Frame({PadAxis(SDL_CONTROLLER_AXIS_LEFTX, 0), PadAxis(SDL_CONTROLLER_AXIS_LEFTY, 0)}, 200.0f);
        t.run->selectedIndex = from;
        t.Frame({input});
        t.Frame({}, 100.0f);  // the stick still held
        steps += std::to_string(t.run->selectedIndex) + " ";
    }
    EXPECT_EQ(steps, "4 6 1 9 4 6 1 9 0 11 0 11 ");
}

TEST(Screens, RestartDealsTheDeckSizeChosenLast) {
    Table t(12, true);
    for (int size : {16, 20}) {
        t.Frame({KeyDown(SDLK_ESCAPE)});
        ASSERT_EQ(t.Current(), "menu");
        ClickThrough(t, t.menu->menu, {"New Game", std::to_string(size) + " cards"});
        ASSERT_EQ(t.Current(), "game");
        t.PlayDeal();
        t.Frame();
        ASSERT_EQ(t.Current(), "gameover");
        ClickThrough(t, t.over->menu, {"Restart"});
        EXPECT_EQ(t.Current(), "game");
        EXPECT_EQ(t.run->cards.size(), size_t(size)) << "Restart after " << size << " cards";
        EXPECT_EQ(t.Faces(), std::string(size_t(size), 'U')) << "a new deal, shown to memorise";
    }
}

TEST(Screens, IntroShowsPromptHintsAndLogoAndAnyPressStarts) {
    ScreenBed bed("logo=logo.png\nicon_esc=esc.png\nicon_mouse=mouse.png\n");
    bed.Add("game", new TestState(&bed));
    bed.Add("intro", new GameIntroState(&bed, &bed.gameData));
    bed.SwitchState("intro");
    bed.Render();
    EXPECT_EQ(bed.text.draws.at(0).text, "Click to play");
    EXPECT_EQ(bed.text.draws[0].position.x, 348.0f);
    std::string rects;
    for (const SpriteCall& sprite : bed.sprites.draws) rects += Str(sprite.rect) + " ";
    EXPECT_EQ(rects, "395,410,16,16 275,410,16,16 214,75,372,140 ");  // mouse and Escape hints, logo
    std::string started;  // per frame of input on the intro: g when it started the game
    const auto press = [&](std::vector<SDL_Event> events) {
        bed.SwitchState("intro");
        bed.Frame(events);
        started += bed.Current() == "game" ? 'g' : '.';
    };
    bed.inputManager->controllers[0].connected = true;
    for (Uint8 b : {SDL_BUTTON_RIGHT, SDL_BUTTON_LEFT}) press({MouseButton(true, b), MouseButton(false, b)});
    press({PadAxis(SDL_CONTROLLER_AXIS_LEFTX, 32767), PadAxis(SDL_CONTROLLER_AXIS_LEFTY, 32767),
           PadButton(SDL_CONTROLLER_BUTTON_A, 1)});  // sticks, and a controller other than the first
    for (int b = 0; b <= SDL_CONTROLLER_BUTTON_DPAD_RIGHT; ++b) press({PadButton(SDL_GameControllerButton(b))});
    // After those three: A B X Y, Back, Guide, Start, the sticks' and shoulders' buttons, the four d-pad directions.
    EXPECT_EQ(started, ".g.gggg..g....gggg");
}

TEST(Screens, MenuTreeCallbacksAndLogoSizes) {
    ScreenBed bed;
    bed.Add("game", new TestState(&bed));
    auto* menu = bed.Add("menu", new GameMenuState(&bed, &bed.gameData));
    auto choose = [&](std::vector<std::string> path) {
        bed.SwitchState("menu");
        ClickThrough(bed, menu->menu, path);
        return bed.Current();
    };
    const auto open = [m = menu->menu] { return m->FindOpen(m) ? m->FindOpen(m)->label : "none"; };
    choose({"Options", "Effects", "Back"});  // a third level's Back goes one level up, not to the root
    EXPECT_EQ(open(), "Options");
    choose({"Options", "Effects"});
    bed.Frame({}, 151.0f);  // past the menu's input gate
    bed.Frame({KeyDown(SDLK_ESCAPE)});
    EXPECT_EQ(open(), "Options");
    for (auto [label, effect] : {std::pair{"Dither Effect", PostEffect::OrderedDither},
                                 {"Gameboy Effect", PostEffect::Gameboy},
                                 {"CRT Effect", PostEffect::CRT},
                                 {"None", PostEffect::None}}) {
        EXPECT_EQ(choose({"Credits", "Back", "Options", "Effects", label}), "menu") << label;
        EXPECT_EQ(bed.gameData.postEffect, effect) << label;
    }
    for (int cards : {16, 12, 20}) {
        EXPECT_EQ(choose({"New Game", std::to_string(cards) + " cards"}), "game");
        EXPECT_EQ(bed.gameData.cardCount, cards);
        EXPECT_TRUE(bed.gameData.newGameRequested) << cards;
    }
    EXPECT_EQ(choose({"Continue"}), "game");
    std::string logos;  // two, three or four times the 93 x 35 design size, centred
    for (auto [w, h] : {std::pair{800, 600}, {799, 900}, {1280, 720}, {1281, 700}, {1000, 721}}) {
        bed.windowManager->Resize(w, h);
        menu->UpdateLogoRect();
        logos += Str(menu->logoRect) + " ";
    }
    EXPECT_EQ(logos, "261,50,279,105 306,50,186,70 501,50,279,105 454,50,372,140 314,50,372,140 ");
}

TEST(Screens, GameOverIgnoresTheReleaseOfTheLastCardsPressAndTheTestScreenShowsItsLoad) {
    ScreenBed bed;
    bed.Add("game", new TestState(&bed));
    auto* over = bed.Add("gameover", new GameOverState(&bed, &bed.gameData));
    bed.Frame({MouseMotion(400, 300), MouseButton(true)});  // the press that turned the last card
    bed.SwitchState("gameover");
    bed.Frame();
    const ivec4 restart = over->menu->children[0]->hitRect;
    bed.Frame({MouseMotion(restart.x + 1, restart.y + 1), MouseButton(false)});
    EXPECT_EQ(bed.Current(), "gameover");
    bed.Click(restart.x + 1, restart.y + 1);
    EXPECT_EQ(bed.Current(), "game");
    EXPECT_TRUE(bed.gameData.gameFinished);

    EXPECT_FLOAT_EQ(static_cast<SDLTimeManager*>(over->timeManager)->targetFrameMs,
                    1000.0f / 60);  // 60 frames a second
    bed.Add("test", new TestState(&bed));
    bed.SwitchState("test");
    bed.Render();
    ASSERT_EQ(bed.text.draws.size(), 752u);
    EXPECT_EQ(bed.text.draws[0].text + " " + bed.text.draws[1].text + " " + bed.text.draws[751].text,
              "MS: 16.000000 FPS: 62.500000 Test");
}
