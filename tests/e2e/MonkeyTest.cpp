// Random mouse, keys, controller, resizes and editor clicks, and a player who
// remembers so deals end and restart; "Quit Game" is undone. The game must
// survive (and, sanitized, stay clean).
//   OSTREL_MONKEY_SEED     the seed (default fixed)
//   OSTREL_MONKEY_SECONDS  play this long instead (scripts/monkey.sh)
#include "GameHarness.h"

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <random>

using namespace GameTest;

namespace {

unsigned long EnvNumber(const char* name, unsigned long fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtoul(text, nullptr, 10) : fallback;
}

TEST(Monkey, RandomInputNeverBreaksTheGame) {
    const unsigned seed = static_cast<unsigned>(EnvNumber("OSTREL_MONKEY_SEED", 20240611));
    const double seconds = static_cast<double>(EnvNumber("OSTREL_MONKEY_SECONDS", 0));
    std::cout << "Monkey: seed " << seed << std::endl;
    GameDir dir;
    ScopedChdir in(dir.Root());
    VirtualPad pad;
    TestGame game;
    game.maxFrames = std::numeric_limits<int>::max();
    std::mt19937 random(seed);
    const auto chance = [&](double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(random) < p; };
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    const SDL_Keycode keys[] = {SDLK_ESCAPE, SDLK_UP,    SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT,
                                SDLK_RETURN, SDLK_SPACE, SDLK_a,    SDLK_q,    SDLK_BACKSPACE};
    const std::pair<int, int> sizes[] = {{800, 600}, {1280, 720}, {1920, 1080}, {1, 1},
                                         {2, 3},     {1, 600},    {800, 1},     {333, 7}};
    std::map<std::string, long> counts;
    long lastReport = 0;
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    bool held = false;

    game.everyFrame = [&](TestGame& g) {
        if (!g.Running()) ++counts["quits undone"], g.Resume();
        ++counts["screens " + g.Screen() + (g.Data().editorVisible ? "+editor" : "")];  // frames on each
        if (seconds > 0 ? elapsed() >= seconds : g.Frame() + 1 >= 3000) {
            g.Quit();
            return;
        }
        if (elapsed() >= 60.0 * static_cast<double>(lastReport + 1)) {
            ++lastReport;
            std::cout << "Monkey: " << g.Frame() + 1 << " frames, " << static_cast<long>(elapsed()) << " s"
                      << std::endl;
        }
        int w = 1, h = 1;
        SDL_GetWindowSize(g.Window(), &w, &h);
        const auto mouse = [&](int px, int py, bool down) {
            held = down;
            SDL_WarpMouseInWindow(g.Window(), std::clamp(px, 0, w - 1), std::clamp(py, 0, h - 1));  // for ImGui
            PushMouse(px, py, down);
            ++counts["mouse"];
        };
        if (chance(0.15)) mouse(pick(-40, w + 40), pick(-40, h + 40), !held);
        if (chance(0.08)) PushKeyPress(keys[pick(0, 9)]), ++counts["keys"];
        if (g.Screen() == "menu" && chance(0.05)) PushKeyPress(SDLK_ESCAPE);
        if (chance(g.Data().editorVisible ? 0.012 : 0.006)) PushKeyPress(SDLK_TAB), ++counts["editor toggles"];
        if (chance(0.08)) pad.Set(static_cast<SDL_GameControllerButton>(pick(0, 14)), chance(0.6)), ++counts["pad"];
        if (chance(0.007))
            PushResize(g.Window(), sizes[pick(0, 7)].first, sizes[pick(0, 7)].second), ++counts["resizes"];
        // A player who remembers: the partner of a face-up card, or any card.
        if (g.Screen() == "game" && !g.Data().editorVisible && chance(0.25)) {
            const Card* up = nullptr;
            for (const Card& card : g.Cards())
                if (!card.faceDown && !card.matched) up = &card;
            for (const Card& card : g.Cards())
                if (card.faceDown && (up == nullptr || card.frontTexture == up->frontTexture) && chance(0.3))
                    PushClick(card.x + card.w / 2, card.y + card.h / 2), ++counts["turns"];
        }
        if (g.Screen() == "gameover" && chance(0.1) && g.ClickLine("Restart")) ++counts["restarts"];
    };
    game.Play();

    std::cout << "Monkey: frames " << game.Frame() << " in " << static_cast<long>(elapsed()) << " s" << std::endl;
    for (const auto& entry : counts) std::cout << "Monkey: " << entry.first << " " << entry.second << std::endl;
    // The fixed run must get around, or it proves little (a timed one may be short).
    EXPECT_TRUE(pad.Attached());
    if (seconds > 0) return;
    for (const char* screen : {"game", "menu", "gameover", "game+editor"})
        EXPECT_TRUE(counts.count(std::string("screens ") + screen)) << screen;
    EXPECT_GT(counts["resizes"], 0);
    EXPECT_GT(counts["restarts"], 0);
}

}  // namespace
