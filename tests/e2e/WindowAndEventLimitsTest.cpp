// Limits of the window and the event queue on the running game: a window
// without area on every screen and in the editor, and a flood of events.
#include "GameHarness.h"

#include "core/WindowManager.h"

#include <gtest/gtest.h>

using namespace GameTest;

namespace {

// A minimised window can report 0 x 0, or one side 0: every screen, the
// effect's offscreen pass and the editor keep running, and the table is drawn
// again once the window has its size back.
TEST(WindowAndEventLimits, ZeroSizeWindowOnEveryScreen) {
    GameDir dir;
    ScopedChdir in(dir.Root());
    TestGame game;
    game.Data().postEffect = PostEffect::CRT;
    auto& s = game.script;
    for (const char* screen : {"intro", "game", "menu"}) {
        if (std::string(screen) == "game") s.push_back(Click(400, 300));
        if (std::string(screen) == "menu") s.push_back(Key(SDLK_ESCAPE));
        s.push_back(WaitFor(screen, [screen](TestGame& g) { return g.Screen() == screen; }));
        for (const auto size : {std::make_pair(0, 0), {0, 600}, {800, 0}, {1, 1}}) {
            s.push_back(Do("resize", [size](TestGame& g) { g.Windows()->Resize(size.first, size.second); }));
            if (std::string(screen) != "intro") s.push_back(Click(400, 300));  // on the intro it starts the game
            s.push_back(Key(SDLK_TAB));
            s.push_back(Click(100, 100));  // into the editor
            s.push_back(Key(SDLK_TAB));
        }
        s.push_back(Do("resize", [](TestGame& g) { g.Windows()->Resize(800, 600); }));
    }
    s.push_back(Key(SDLK_ESCAPE));
    s.push_back(Frames(2));
    s.push_back(Do("the table drawn again", [](TestGame& g) {
        ASSERT_EQ(g.Screen(), "game");
        const Rgb frame = g.Pixels();
        ASSERT_EQ(frame.width, 800);
        EXPECT_GT(frame.Colours(200, 150, 400, 300), 4u);
    }));
    game.Play();
}

// 1000 events pushed before one frame reach the game 100 a frame over the
// next ten frames, in order, none lost and none twice.
TEST(WindowAndEventLimits, EventFloodArrivesInOrder) {
    GameDir dir;
    ScopedChdir in(dir.Root());
    TestGame game;
    const Uint32 type = SDL_RegisterEvents(1);
    std::vector<int> codes, perFrame;
    game.script.push_back(Frames(5));  // the window's own events first
    game.script.push_back(Do("flood", [type](TestGame&) {
        for (int i = 0; i < 1000; ++i) {
            SDL_Event e{};
            e.type = type;
            e.user.code = i;
            ASSERT_EQ(SDL_PushEvent(&e), 1);
        }
    }));
    game.script.push_back(Frames(14));
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
