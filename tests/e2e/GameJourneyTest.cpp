// The whole game in process, played through pushed SDL events and a virtual
// controller by scripts that wait for what the player would see.
#include "GameHarness.h"

#include "core/WindowManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <numeric>

using namespace GameTest;

namespace {

const std::vector<std::string> RootMenu{"Continue", "New Game", "Options", "Credits", "Quit Game"};

bool AllFaceDownAtRest(TestGame& g) {
    return std::all_of(g.Cards().begin(), g.Cards().end(), [](const Card& c) { return c.faceDown && !c.flipping; });
}

// The deal in picture order: pairs side by side, a failed pair at 0 and 2.
std::vector<size_t> Sorted(const std::vector<Card>& cards) {
    std::vector<size_t> order(cards.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return cards[a].frontTexture < cards[b].frontTexture; });
    return order;
}

void PushOnCard(TestGame& g, size_t index, bool release = true) {
    const Card& card = g.Cards()[index];
    PushMouse(card.x + card.w / 2, card.y + card.h / 2, true);
    if (release) PushMouse(card.x + card.w / 2, card.y + card.h / 2, false);
}

// The menu logo at `scale` times its 93 x 35 design size, centred, nothing beside it.
Step Logo(int scale, int width) {
    return Do("the logo", [=](TestGame& g) {
        const Rgb f = g.Pixels();
        const int w = 93 * scale, x = width / 2 - w / 2, h = 35 * scale;
        EXPECT_EQ(f.Drawn(0, 50, x, h) + f.Drawn(x + w, 50, width - x - w, h), 0);
        EXPECT_GT(f.Drawn(x, 50, 10, h) * f.Drawn(x + w - 10, 50, 10, h), 0);
    });
}

// And lets the 150 ms pass before the menu takes its next key.
Step MenuShows(const std::vector<std::string>& lines) {
    return WaitFor("menu " + lines.front(), [lines, shown = 0](TestGame& g) mutable {
        return (shown = g.MenuLines() == lines ? shown + 1 : 0) > 10;
    });
}

Step ScreenIs(const std::string& screen) {
    return WaitFor(screen, [screen](TestGame& g) { return g.Screen() == screen; });
}

Step LoopEnded() {
    return WaitFor("the loop to end", [](TestGame& g) { return !g.Running(); });
}

// Down until the entry is selected, then Return (and the 150 ms after it).
void Choose(std::vector<Step>& s, const std::string& label, bool last = false) {
    s.push_back({"select " + label, [label, key = Step(), busy = false](TestGame& g) mutable {
                     const std::vector<std::string> lines = g.MenuLines();
                     const size_t at = lines.empty() ? 0 : static_cast<size_t>(g.OpenMenu()->selectedIndex);
                     if (!busy && at < lines.size() && lines[at] == label) return true;
                     if (!busy) key = Key(SDLK_DOWN);
                     busy = !key.run(g);
                     return false;
                 }});
    s.push_back(last ? Do("Return", [](TestGame&) { PushKeyPress(SDLK_RETURN); }) : Key(SDLK_RETURN));
}

// Plays a deal with the mouse, the last card pressed and held: its release
// arrives on the game-over screen, over "Quit Game", which must not choose it.
void PlayDealWithMouse(std::vector<Step>& s, bool failedPair) {
    auto order = std::make_shared<std::vector<size_t>>();
    s.push_back(WaitFor("memorise phase over", [order](TestGame& g) {
        *order = Sorted(g.Cards());
        return AllFaceDownAtRest(g);
    }));
    const auto turn = [order](size_t k) { return Do("turn", [order, k](TestGame& g) { PushOnCard(g, (*order)[k]); }); };
    if (failedPair) {
        s.insert(s.end(), {turn(0), turn(2), turn(4)});  // the third while the failed pair shows
        s.push_back(Do("the failed pair up, the third card down", [order](TestGame& g) {
            EXPECT_FALSE(g.Cards()[(*order)[0]].faceDown || g.Cards()[(*order)[2]].faceDown);
            EXPECT_TRUE(g.Cards()[(*order)[4]].faceDown);
        }));
        s.push_back(WaitFor("the failed pair turned back", AllFaceDownAtRest));
    }
    s.push_back({"turn every pair", [order, n = size_t(0)](TestGame& g) mutable {
                     PushOnCard(g, (*order)[n], n + 1 < order->size());
                     return ++n == order->size();
                 }});
    s.push_back(ScreenIs("gameover"));
    s.push_back(Do("release over Quit Game", [](TestGame& g) {
        const Ostrel::ivec4 r = g.OpenMenu()->children.at(1)->hitRect;
        PushMouse(r.x + r.z / 2, r.y + r.w / 2, false);
    }));
    s.push_back(Frames(3));
    s.push_back(Do("still over", [](TestGame& g) {
        EXPECT_TRUE(g.Running()) << "the release of the last card's press chose Quit Game";
        EXPECT_EQ(g.MenuLines(), (std::vector<std::string>{"Restart", "Quit Game"}));
        for (const Card& card : g.Cards()) EXPECT_TRUE(card.matched);
    }));
}

// Each test plays one game in a fresh copy of the assets.
class GameJourney : public testing::Test {
protected:
    GameDir dir;
    ScopedChdir in{dir.Root()};
    TestGame game;
    std::vector<Step>& s = game.script;
};

TEST_F(GameJourney, MouseDealsGameOverRestartAndQuit) {
    dir.Write("assets/game/config.txt",
              ConfigWith({{"time_to_start", "200"}, {"hide_time", "200"}, {"click_sound", "none.wav"}}));
    // Only the card sound can be heard: the mixed output goes to a file.
    const std::string audio = dir.Root() + "/audio.raw";
    OstrelTest::ScopedEnv driver{"SDL_AUDIODRIVER", "disk"}, file{"SDL_DISKAUDIOFILE", audio.c_str()};
    s.push_back(WaitFor("intro drawn", [](TestGame& g) {
        const Rgb frame = g.Pixels();
        return g.Screen() == "intro" && frame.Drawn(214, 75, 372, 140) > 10000 && frame.Drawn(340, 295, 120, 20) > 100;
    }));
    s.push_back(Click(400, 560));
    s.push_back(WaitFor("a face-up deal of 12", [](TestGame& g) {
        if (g.Screen() != "game" || g.Cards().size() != 12) return false;
        const Rgb frame = g.Pixels();
        for (const Card& card : g.Cards()) {
            EXPECT_FALSE(card.faceDown);
            EXPECT_GT(frame.Drawn(card.x, card.y, card.w, card.h), card.w * card.h / 2) << "card not drawn";
        }
        return true;
    }));
    PlayDealWithMouse(s, true);
    s.insert(s.end(),
             {Do("restart", [](TestGame& g) { EXPECT_TRUE(g.ClickLine("Restart")); }),
              WaitFor("a new deal", [](TestGame& g) { return g.Screen() == "game" && !g.Cards()[0].matched; })});
    PlayDealWithMouse(s, false);
    // The mixer writes in real time: wait for its output, with a generous limit.
    s.push_back(WaitFor("a card heard", [&audio, start = Uint32(0)](TestGame&) mutable {
        start = start != 0 ? start : SDL_GetTicks();
        SDL_Delay(10);
        return ReadBytes(audio).find_first_not_of('\0') != std::string::npos || SDL_GetTicks() - start > 30000;
    }));
    s.insert(s.end(), {Do("quit", [](TestGame& g) { EXPECT_TRUE(g.ClickLine("Quit Game")); }), LoopEnded()});
    game.Play();
    EXPECT_NE(ReadBytes(audio).find_first_not_of('\0'), std::string::npos) << "no card was heard turning";
}

TEST_F(GameJourney, ControllerDeal) {
    VirtualPad pad;
    ASSERT_TRUE(pad.Attached());
    s.insert(s.end(), {Do("A", [&](TestGame&) { pad.Set(SDL_CONTROLLER_BUTTON_A, true); }),
                       Do("A up", [&](TestGame&) { pad.Set(SDL_CONTROLLER_BUTTON_A, false); }), ScreenIs("game")});
    auto plan = std::make_shared<std::vector<size_t>>();
    // Until a button is pressed nothing moves: no card turns, the highlight stays.
    s.push_back({"idle controller", [plan, rest = 0](TestGame& g) mutable {
                     EXPECT_EQ(g.Table()->selectedIndex, 0) << "the highlight moved by itself";
                     EXPECT_TRUE(rest == 0 || AllFaceDownAtRest(g)) << "a card turned without a button";
                     rest += rest > 0 || AllFaceDownAtRest(g);
                     *plan = Sorted(g.Cards());
                     plan->insert(plan->begin(), {(*plan)[0], (*plan)[2]});  // a failed pair first
                     return rest > 30 || testing::Test::HasFailure();
                 }});
    // One button at a time, held one frame, then the 150 ms repeat gate.
    s.push_back({"play the deal",
                 [&pad, plan, n = size_t(0), held = SDL_CONTROLLER_BUTTON_INVALID, wait = 0](TestGame& g) mutable {
                     if (held != SDL_CONTROLLER_BUTTON_INVALID) {
                         pad.Set(held, false);
                         if (held == SDL_CONTROLLER_BUTTON_A) ++n;
                         held = SDL_CONTROLLER_BUTTON_INVALID;
                         wait = 10;
                     } else if (--wait > 0 || (n == 2 && !AllFaceDownAtRest(g))) {
                         return false;  // and the failed pair turns back before the next
                     } else if (n < plan->size()) {
                         // Down to the row, then right (both wrap), then A.
                         const int at = g.Table()->selectedIndex, target = static_cast<int>((*plan)[n]);
                         held = at / g.Table()->columns != target / g.Table()->columns ? SDL_CONTROLLER_BUTTON_DPAD_DOWN
                                : at != target ? SDL_CONTROLLER_BUTTON_DPAD_RIGHT
                                               : SDL_CONTROLLER_BUTTON_A;
                         pad.Set(held, true);
                     }
                     return n == plan->size();
                 }});
    s.push_back(ScreenIs("gameover"));
    game.Play();
}

TEST_F(GameJourney, MenuByKeys) {
    auto deal = std::make_shared<std::vector<Card>>();
    s.insert(s.end(), {Click(400, 300), WaitFor("memorise phase over", AllFaceDownAtRest),
                       Do("turn a card", [](TestGame& g) { PushOnCard(g, 5); }),
                       Do("keep the deal", [deal](TestGame& g) { *deal = g.Cards(); }), Key(SDLK_ESCAPE),
                       MenuShows(RootMenu), Logo(3, 800)});
    Choose(s, "Continue");
    s.push_back(Do("the same deal", [deal](TestGame& g) {
        EXPECT_EQ(g.Screen(), "game");
        EXPECT_FALSE((*deal)[5].faceDown) << "the card was not turned";
        ASSERT_EQ(g.Cards().size(), deal->size());
        for (size_t i = 0; i < deal->size(); ++i) {
            EXPECT_EQ(g.Cards()[i].frontTexture, (*deal)[i].frontTexture) << "card " << i;
            EXPECT_EQ(g.Cards()[i].faceDown, (*deal)[i].faceDown) << "card " << i;
        }
    }));
    for (const size_t size : {16, 20}) {
        s.push_back(Key(SDLK_ESCAPE));
        Choose(s, "New Game");
        s.push_back(MenuShows({"12 cards", "16 cards", "20 cards"}));
        Choose(s, std::to_string(size) + " cards");
        s.push_back(WaitFor("the deal", [size](TestGame& g) { return g.Cards().size() == size; }));
    }
    // With 20 cards the menu button lies on the first card: a press there
    // opens the menu and leaves the card alone.
    s.push_back(WaitFor("memorise phase over", AllFaceDownAtRest));
    s.push_back(Do("press the menu button", [](TestGame& g) {
        EXPECT_TRUE(g.Cards()[0].Contains(26, 26));
        PushMouse(26, 26, true);
    }));
    s.insert(s.end(),
             {Do("release", [](TestGame&) { PushMouse(26, 26, false); }), MenuShows(RootMenu), Key(SDLK_ESCAPE)});
    s.push_back(
        Do("first card still down", [](TestGame& g) { EXPECT_TRUE(g.Screen() == "game" && g.Cards()[0].faceDown); }));
    s.push_back(Key(SDLK_ESCAPE));
    Choose(s, "Options");
    s.insert(s.end(), {MenuShows({"Effects", "Back"}), Key(SDLK_RETURN),
                       MenuShows({"None", "CRT Effect", "Dither Effect", "Gameboy Effect", "Back"})});
    // Each effect shows on the logo, each its own way.
    auto frames = std::make_shared<std::vector<Rgb>>();
    const auto keep = [frames](TestGame& g) { frames->push_back(g.Pixels()); };
    s.push_back(Do("plain", keep));
    for (const char* effect : {"CRT Effect", "Dither Effect", "Gameboy Effect"})
        Choose(s, effect), s.push_back(Do(effect, keep));
    s.push_back(Do("effects differ", [frames](TestGame&) {
        const auto differing = [&](size_t a, size_t b) {
            int n = 0;
            for (size_t i = 0; i < (*frames)[a].px.size(); i += 3) n += (*frames)[a].px[i] != (*frames)[b].px[i];
            return n;
        };
        for (size_t i = 1; i < 4; ++i) EXPECT_GT(differing(i - 1, i), 10000) << "effect " << i << " not shown";
        EXPECT_LE((*frames)[3].Colours(261, 50, 279, 105), 4u) << "gameboy has four colours";
    }));
    s.insert(s.end(), {Key(SDLK_ESCAPE), Key(SDLK_ESCAPE), Key(SDLK_ESCAPE)});
    s.push_back(Do("the table still drawn", [](TestGame& g) {
        EXPECT_EQ(g.Screen(), "game");
        EXPECT_GE(g.Pixels().Colours(100, 100, 600, 400), 2u);
    }));
    s.push_back(Key(SDLK_ESCAPE));
    Choose(s, "Credits");
    s.insert(s.end(), {MenuShows({"Art - Dorvane Tamsel", "Programming - Halbrenk Oskel",
                                  "Programming - Vantosi Tobran", "Font - Wendral Mauk", "Back"}),
                       Key(SDLK_ESCAPE), MenuShows(RootMenu)});
    Choose(s, "Quit Game", true);
    s.push_back(LoopEnded());
    game.Play();
}

// The window's close button, SIGTERM and SIGINT each ask once to close.
class CloseRequest : public GameJourney, public testing::WithParamInterface<int> {};

TEST_P(CloseRequest, EndsTheLoop) {
    int asked = 0;
    s.push_back(Do("ask", [&](TestGame& g) {
        g.Windows()->closeHandler = [&](Ostrel::WindowCloseClickedEvent*) { ++asked; };
        SDL_Event close{SDL_WINDOWEVENT};  // what a click on the window's close button sends
        close.window.event = SDL_WINDOWEVENT_CLOSE;
        close.window.windowID = SDL_GetWindowID(g.Window());
        GetParam() == 0 ? SDL_PushEvent(&close) : raise(GetParam());
    }));
    s.push_back(LoopEnded());
    game.maxFrames = 100;
    game.Play();
    EXPECT_EQ(asked, 1);
    EXPECT_LT(game.Frame(), 5);
}

INSTANTIATE_TEST_SUITE_P(Ways, CloseRequest, testing::Values(0, SIGTERM, SIGINT));

// A minimised window can report 0 x 0 or one side 0: every screen, the effect
// and the editor keep running; then smaller and larger windows lay out anew.
TEST_F(GameJourney, EditorAndWindowSizes) {
    game.Data().postEffect = PostEffect::CRT;
    s.insert(s.end(), {Key(SDLK_TAB), WaitFor("the editor", [](TestGame& g) { return g.EditorShown(); }), Key(SDLK_TAB),
                       WaitFor("no editor", [](TestGame& g) { return !g.EditorShown(); })});
    for (const std::string screen : {"intro", "game", "menu"}) {
        s.push_back(screen == "game" ? Click(400, 300) : screen == "menu" ? Key(SDLK_ESCAPE) : Frames(1));
        s.push_back(ScreenIs(screen));
        for (const auto& size : {std::make_pair(0, 0), {0, 600}, {800, 0}, {1, 1}}) {
            s.push_back(Do("resize", [size](TestGame& g) { g.Windows()->Resize(size.first, size.second); }));
            if (screen != "intro") s.push_back(Click(400, 300));                 // on the intro it starts the game
            s.insert(s.end(), {Key(SDLK_TAB), Click(100, 100), Key(SDLK_TAB)});  // and into the editor
        }
        s.push_back(Do("resize", [](TestGame& g) { g.Windows()->Resize(800, 600); }));
    }
    s.push_back(Key(SDLK_ESCAPE));
    s.push_back(Do("the table drawn again", [](TestGame& g) {
        ASSERT_EQ(g.Screen(), "game");
        EXPECT_GT(g.Pixels().Colours(200, 150, 400, 300), 4u);
        g.Data().postEffect = PostEffect::None;  // the logo drawn plainly from here
        PushResize(g.Window(), 640, 480);
    }));
    s.insert(s.end(), {Key(SDLK_ESCAPE), MenuShows(RootMenu), Logo(2, 640), Key(SDLK_ESCAPE),
                       Do("grow", [](TestGame& g) { PushResize(g.Window(), 1600, 900); }), Frames(2), Click(63, 63),
                       MenuShows(RootMenu)});  // the menu button grows with the window
    game.Play();
}

// 1000 events pushed at once arrive 100 a frame, in order, none lost or twice.
TEST_F(GameJourney, EventFloodArrivesInOrder) {
    const Uint32 type = SDL_RegisterEvents(1);
    std::vector<int> codes, perFrame;
    s.push_back(Frames(5));  // the window's own events first
    s.push_back(Do("flood", [type](TestGame&) {
        for (int i = 0; i < 1000; ++i) {
            SDL_Event e{type};
            e.user.code = i;
            ASSERT_EQ(SDL_PushEvent(&e), 1);
        }
    }));
    s.push_back(Frames(14));
    game.everyFrame = [&](TestGame& g) {
        int n = 0;
        for (int i = 0; i < g.Events().count; ++i)
            if (g.Events().events[i].type == type) codes.push_back(g.Events().events[i].user.code), ++n;
        if (n > 0) perFrame.push_back(n);
    };
    game.Play();
    ASSERT_EQ(codes.size(), 1000u);
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(codes[static_cast<size_t>(i)], i);
    EXPECT_EQ(perFrame, std::vector<int>(10, 100));
}

}  // namespace
