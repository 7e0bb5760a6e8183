// A random-input run of the whole game: frame after frame the monkey moves
// the pointer (the real X pointer where there is one, so the editor sees it
// too) and presses buttons anywhere, presses keys (Escape, Tab, arrows,
// Return, Space, letters ...), drives a virtual controller (buttons, d-pad,
// sticks) and synthetic ones in other slots, resizes the window among the
// editor's resolutions and odd sizes down to 1 x 1, and clicks into whatever
// editor window or popup is open. Choosing "Quit Game" is counted and undone so
// the run goes on.
//
// Settings (environment, all optional):
//   OSTREL_MONKEY_SEED     seed of the monkey's choices (default fixed)
//   OSTREL_MONKEY_FRAMES   frames to run (default 3000)
//   OSTREL_MONKEY_SECONDS  run for this long instead (scripts/monkey.sh)
// The seed, the frame count and the resident memory at the start, after the
// first minute and at the end are printed as "Monkey: ..." lines.
#include "E2EHarness.h"

#include "Game.h"
#include "GameOverState.h"
#include "GameRunState.h"
#include "components/MenuComponent.h"
#include "sdl/SDLTimeManager.h"

#include <gtest/gtest.h>
#include <imgui.h>
#include <imgui_internal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

unsigned long EnvNumber(const char* name, unsigned long fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') return fallback;
    return std::strtoul(text, nullptr, 10);
}

long ResidentKiB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

class MonkeyApp : public OstrelTest::ScriptedApp<Game> {
public:
    // Undoes a "Quit Game" so the run goes on.
    void Resume() { running = true; }
    const GameData& Data() const { return gameData; }
};

struct Size {
    int width;
    int height;
};

// The editor's four resolutions and odd sizes down to 1 x 1.
const std::vector<Size> Sizes = {{800, 600}, {1280, 720}, {1600, 900}, {1920, 1080}, {1, 1},     {2, 3},
                                 {1, 600},   {800, 1},    {17, 999},   {333, 7},     {640, 480}, {1001, 77}};

const std::vector<SDL_Keycode> Keys = {SDLK_ESCAPE, SDLK_UP,       SDLK_DOWN,      SDLK_LEFT,      SDLK_RIGHT,
                                       SDLK_RETURN, SDLK_KP_ENTER, SDLK_SPACE,     SDLK_BACKQUOTE, SDLK_a,
                                       SDLK_b,      SDLK_q,        SDLK_w,         SDLK_s,         SDLK_z,
                                       SDLK_x,      SDLK_1,        SDLK_BACKSPACE, SDLK_DELETE,    SDLK_F1};

class Monkey {
public:
    explicit Monkey(unsigned seed, OstrelTest::VirtualController* pad) : random(seed), pad(pad) {}

    std::map<std::string, long> counts;

    void Step(MonkeyApp& app) {
        SDL_Window* window = app.Window();
        int w = 1, h = 1;
        SDL_GetWindowSize(window, &w, &h);

        if (Chance(0.6)) MovePointer(app, Uniform(-40, w + 40), Uniform(-40, h + 40));
        if (Chance(0.12)) Button(app, SDL_BUTTON_LEFT, !leftDown);
        if (Chance(0.03)) Button(app, SDL_BUTTON_RIGHT, !rightDown);
        if (Chance(0.01)) Button(app, SDL_BUTTON_MIDDLE, Chance(0.5));
        if (Chance(0.02)) Wheel();
        if (Chance(0.08)) Key(Keys[Index(Keys.size())]);
        // Shows or hides the editor; shown about a third of the time.
        if (Chance(app.Data().editorVisible ? 0.012 : 0.006)) Key(SDLK_TAB);
        // Every way into the menu is also a way to the table's Escape: leave it
        // as often as the table is left, or the run stays in the menu.
        if (dynamic_cast<GameRunState*>(app.CurrentState()) == nullptr && Chance(0.02)) Key(SDLK_ESCAPE);
        if (Chance(0.08)) PadButton();
        if (Chance(0.05)) PadAxis();
        if (Chance(0.02)) OtherSlot();
        if (Chance(0.007)) Resize(app);
        if (app.Data().editorVisible && Chance(0.3)) ClickIntoEditor(app);
        if (!app.Data().editorVisible && Chance(0.04)) TurnPartner(app);
        if (!app.Data().editorVisible && Chance(0.01)) Restart(app);
    }

    // Lets go of everything held, so a stopped run leaves no button down.
    void ReleaseAll() {
        if (leftDown) OstrelTest::PushMouseButton(SDL_BUTTON_LEFT, false, x, y);
        if (rightDown) OstrelTest::PushMouseButton(SDL_BUTTON_RIGHT, false, x, y);
        leftDown = rightDown = false;
    }

private:
    bool Chance(double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(random) < p; }
    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); }
    size_t Index(size_t n) { return static_cast<size_t>(Uniform(0, static_cast<int>(n) - 1)); }

    void MovePointer(MonkeyApp& app, int px, int py) {
        x = px;
        y = py;
        int w = 1, h = 1;
        SDL_GetWindowSize(app.Window(), &w, &h);
        // The real pointer (Dear ImGui reads it) can only go inside the window.
        SDL_WarpMouseInWindow(app.Window(), std::clamp(px, 0, std::max(w - 1, 0)),
                              std::clamp(py, 0, std::max(h - 1, 0)));
        OstrelTest::PushMouseMotion(px, py);
        ++counts["moves"];
    }

    void Button(MonkeyApp&, Uint8 button, bool down) {
        OstrelTest::PushMouseButton(button, down, x, y);
        if (button == SDL_BUTTON_LEFT) leftDown = down;
        if (button == SDL_BUTTON_RIGHT) rightDown = down;
        ++counts[down ? "button downs" : "button ups"];
    }

    void Wheel() {
        SDL_Event e{};
        e.type = SDL_MOUSEWHEEL;
        e.wheel.y = Chance(0.5) ? 1 : -1;
        e.wheel.x = Chance(0.2) ? 1 : 0;
        SDL_PushEvent(&e);
        ++counts["wheel"];
    }

    void Key(SDL_Keycode key) {
        // Mostly a press and release in one frame; sometimes held a while.
        if (Chance(0.8)) {
            OstrelTest::PushKeyPress(key);
        } else {
            OstrelTest::PushKeyDown(key);
            if (Chance(0.5)) OstrelTest::PushKeyUp(key);
        }
        ++counts["keys"];
    }

    void PadButton() {
        if (pad == nullptr || !pad->Attached()) return;
        const auto button = static_cast<SDL_GameControllerButton>(Uniform(0, SDL_CONTROLLER_BUTTON_MAX - 1));
        pad->SetButton(button, Chance(0.6));
        ++counts["pad buttons"];
    }

    void PadAxis() {
        if (pad == nullptr || !pad->Attached()) return;
        const auto axis = static_cast<SDL_GameControllerAxis>(Uniform(0, SDL_CONTROLLER_AXIS_MAX - 1));
        const Sint16 values[] = {-32768, -20000, -1, 0, 0, 1, 16000, 32767};
        pad->SetAxis(axis, Chance(0.5) ? values[Index(8)] : static_cast<Sint16>(Uniform(-32768, 32767)));
        ++counts["pad axes"];
    }

    // Synthetic controller events for slots that may hold no device, and for
    // instance ids past the four slots (ids grow with every reconnection).
    void OtherSlot() {
        const SDL_JoystickID which = static_cast<SDL_JoystickID>(Uniform(-1, 9));
        if (Chance(0.5)) {
            OstrelTest::PushControllerButton(which, static_cast<Uint8>(Uniform(0, SDL_CONTROLLER_BUTTON_MAX)),
                                             Chance(0.5));
        } else {
            OstrelTest::PushControllerAxis(which, static_cast<Uint8>(Uniform(0, SDL_CONTROLLER_AXIS_MAX)),
                                           static_cast<Sint16>(Uniform(-32768, 32767)));
        }
        ++counts["other slots"];
    }

    void Resize(MonkeyApp& app) {
        const Size& size = Sizes[Index(Sizes.size())];
        OstrelTest::ResizeWindowAsUser(app.Window(), size.width, size.height);
        ++counts["resizes"];
    }

    // A click at a random point of a random open Dear ImGui window (the editor,
    // its menus, the file dialog).
    void ClickIntoEditor(MonkeyApp& app) {
        ImGuiContext* context = ImGui::GetCurrentContext();
        if (context == nullptr) return;
        std::vector<ImGuiWindow*> open;
        for (ImGuiWindow* window : context->Windows) {
            if (window->WasActive && !window->Hidden && std::string(window->Name).rfind("Debug##", 0) != 0)
                open.push_back(window);
        }
        if (open.empty()) return;
        const ImGuiWindow* target = open[Index(open.size())];
        const int px = static_cast<int>(target->Pos.x) + Uniform(0, std::max(1, static_cast<int>(target->Size.x) - 1));
        const int py = static_cast<int>(target->Pos.y) + Uniform(0, std::max(1, static_cast<int>(target->Size.y) - 1));
        MovePointer(app, px, py);
        if (!leftDown) Button(app, SDL_BUTTON_LEFT, true);
        ++counts["editor clicks"];
    }

    // Now and then plays like a player who remembers: turns the partner of a
    // face-up card, or else any face-down card, so deals get finished and the
    // game-over screen is reached.
    void TurnPartner(MonkeyApp& app) {
        auto* table = dynamic_cast<GameRunState*>(app.CurrentState());
        if (table == nullptr || table->cards.empty()) return;
        const Card* up = nullptr;
        for (const Card& card : table->cards) {
            if (!card.faceDown && !card.matched) up = &card;
        }
        std::vector<const Card*> candidates;
        for (const Card& card : table->cards) {
            if (!card.faceDown || card.matched) continue;
            if (up == nullptr || card.frontTexture == up->frontTexture) candidates.push_back(&card);
        }
        if (candidates.empty()) return;
        const Card& card = *candidates[Index(candidates.size())];
        MovePointer(app, card.x + card.w / 2, card.y + card.h / 2);
        if (leftDown) Button(app, SDL_BUTTON_LEFT, false);
        Button(app, SDL_BUTTON_LEFT, true);
        ++counts["deliberate turns"];
    }

    // The game-over screen is left only through "Restart": choose it now and
    // then, or the run would spend most of its frames there.
    void Restart(MonkeyApp& app) {
        auto* over = dynamic_cast<GameOverState*>(app.CurrentState());
        if (over == nullptr || over->menu == nullptr) return;
        for (const Ostrel::MenuComponent* entry : over->menu->children) {
            const Ostrel::ivec4& r = entry->hitRect;
            if (entry->label != "Restart" || r.z <= 0 || r.w <= 0) continue;
            MovePointer(app, r.x + r.z / 2, r.y + r.w / 2);
            OstrelTest::PushClick(x, y);
            ++counts["restarts chosen"];
            return;
        }
    }

    std::mt19937 random;
    OstrelTest::VirtualController* pad;
    int x = 0;
    int y = 0;
    bool leftDown = false;
    bool rightDown = false;
};

std::string StateName(MonkeyApp& app) {
    for (const auto& entry : app.States()) {
        if (entry.second == app.CurrentState()) return entry.first;
    }
    return "none";
}

TEST(Monkey, RandomInputNeverBreaksTheGame) {
    const unsigned seed = static_cast<unsigned>(EnvNumber("OSTREL_MONKEY_SEED", 20240611));
    const long frameTarget = static_cast<long>(EnvNumber("OSTREL_MONKEY_FRAMES", 3000));
    const double seconds = static_cast<double>(EnvNumber("OSTREL_MONKEY_SECONDS", 0));
    std::cout << "Monkey: seed " << seed << std::endl;

    OstrelTest::E2EWorkDir dir;
    OstrelTest::VirtualController pad;
    MonkeyApp app;
    app.keepLastFrame = false;
    app.maxFrames = std::numeric_limits<int>::max();
    // Unpaced, but every frame still counts 1000/60 ms of game time.
    static_cast<Ostrel::SDLTimeManager*>(app.Time())->delay = [](uint32_t) {};

    Monkey monkey(seed, &pad);
    std::set<std::string> visited;
    long quitsUndone = 0;
    long frames = 0;
    bool stopping = false;
    long rssStart = 0, rssFirstMinute = 0, rssPeakAfterMinute = 0;
    const Clock::time_point start = Clock::now();
    Clock::time_point lastReport = start;

    MonkeyApp& a = app;
    app.EveryFrame([&](OstrelTest::ScriptedApp<Game>&, int frame) {
        frames = frame + 1;
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        const bool done = seconds > 0.0 ? elapsed >= seconds : frames >= frameTarget;
        if (done) {
            stopping = true;
            monkey.ReleaseAll();
            a.Quit();
            return;
        }
        monkey.Step(a);
    });
    app.AfterRender([&](OstrelTest::ScriptedApp<Game>&, int frame) {
        visited.insert(StateName(a));
        ++monkey.counts["frames on " + StateName(a) + (a.Data().editorVisible ? " with editor" : "")];
        if (a.Data().editorVisible) visited.insert("editor");
        if (!a.IsRunning() && !stopping) {
            ++quitsUndone;
            a.Resume();
        }
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        if (frame == 0) rssStart = ResidentKiB();
        if (rssFirstMinute == 0 && elapsed >= 60.0) rssFirstMinute = ResidentKiB();
        if (rssFirstMinute != 0) rssPeakAfterMinute = std::max(rssPeakAfterMinute, ResidentKiB());
        if (std::chrono::duration<double>(Clock::now() - lastReport).count() >= 60.0) {
            lastReport = Clock::now();
            std::cout << "Monkey: " << frame + 1 << " frames, " << static_cast<long>(elapsed) << " s, resident "
                      << ResidentKiB() << " KiB" << std::endl;
        }
    });

    OstrelTest::RunApp(app);
    const long rssEnd = ResidentKiB();
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();

    std::cout << "Monkey: frames " << frames << " in " << static_cast<long>(elapsed) << " s" << std::endl;
    std::cout << "Monkey: resident KiB start " << rssStart << " first-minute " << rssFirstMinute
              << " peak-after-first-minute " << rssPeakAfterMinute << " end " << rssEnd << std::endl;
    std::cout << "Monkey: quits undone " << quitsUndone << std::endl;
    std::cout << "Monkey: screens";
    for (const std::string& name : visited) std::cout << " " << name;
    std::cout << std::endl;
    for (const auto& entry : monkey.counts) std::cout << "Monkey: " << entry.first << " " << entry.second << std::endl;

    if (seconds <= 0.0) {
        EXPECT_EQ(frames, frameTarget);
    }
    // The monkey must actually get around, or its run proves little.
    EXPECT_TRUE(visited.count("game")) << "never reached the card table";
    EXPECT_TRUE(visited.count("menu")) << "never reached the menu";
    EXPECT_TRUE(visited.count("editor")) << "never showed the editor";
    EXPECT_GT(monkey.counts["resizes"], 0);
    EXPECT_TRUE(pad.Attached());
}

}  // namespace
