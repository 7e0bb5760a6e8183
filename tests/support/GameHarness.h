// The whole game under test: TestGame runs the real Game on a fixed frame step
// (never the wall clock), driven by Steps, in a GameDir of links to assets/.
#pragma once

#include "Game.h"
#include "GameRunState.h"
#include "TempDir.h"
#include "components/MenuComponent.h"

#include <SDL.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace GameTest {

using OstrelTest::ExecutableDir;
using OstrelTest::ScopedChdir;

// What a game under test needs of the environment, given back afterwards.
struct GameEnvironment {
    OstrelTest::ScopedEnv audio{"SDL_AUDIODRIVER", "dummy", false};
    OstrelTest::ScopedEnv video{"SDL_VIDEODRIVER", std::getenv("DISPLAY") ? nullptr : "offscreen", false};
    OstrelTest::ScopedEnv pad{"SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1"};  // no window manager focuses Xvfb's
};

std::string ConfigWith(std::map<std::string, std::string> values);  // the repository's, these keys changed
std::string ReadBytes(const std::string& path);

class GameDir : public OstrelTest::TempDir {
public:
    // Short memorise and hide phases by default.
    explicit GameDir(const std::string& config = ConfigWith({{"time_to_start", "200"}, {"hide_time", "200"}}));
    const std::string& Root() const { return Path(); }
    void Write(const std::string& relative, const std::string& bytes) const;  // in place of a link, not through it
    void Remove(const std::string& relative) const;
};

void PushKeyPress(SDL_Keycode key);
void PushMouse(int x, int y, bool down, bool move = true);  // motion, then the left button
void PushClick(int x, int y);                               // motion, press and release in one frame
void PushResize(SDL_Window* window, int width, int height);

class VirtualPad {
public:
    VirtualPad();
    GameEnvironment environment;
    int index = -1;  // of the virtual device
    bool Attached() const { return index >= 0; }
    void Set(SDL_GameControllerButton button, bool pressed) {
        SDL_Joystick* joystick = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index));
        if (joystick == nullptr) joystick = SDL_JoystickOpen(index);
        if (joystick != nullptr) SDL_JoystickSetVirtualButton(joystick, button, pressed ? SDL_PRESSED : SDL_RELEASED);
    }
};

struct Rgb {
    int width = 0, height = 0;
    std::vector<uint8_t> px;  // 3 bytes a pixel, rows top first
    const uint8_t* At(int x, int y) const { return &px[(static_cast<size_t>(y) * width + x) * 3]; }
    int Drawn(int x, int y, int w, int h) const;  // pixels unlike the clear colour
    size_t Colours(int x, int y, int w, int h, int step = 2) const;
    bool SavePng(const std::string& path) const;
};

std::string FailurePath(const std::string& tag);

// One step of a script: called each frame until it returns true.
struct Step {
    std::string what;
    std::function<bool(class TestGame&)> run;
};
inline Step Do(const std::string& what, std::function<void(TestGame&)> action) {
    return {what, [action](TestGame& g) { return action(g), true; }};
}
inline Step WaitFor(const std::string& what, std::function<bool(TestGame&)> done) {
    return {"wait for " + what, done};
}
inline Step Frames(int n) {  // lets time pass at the fixed step
    return {std::to_string(n) + " frames", [n](TestGame&) mutable { return --n <= 0; }};
}
inline Step Click(int x, int y) {
    return Do("click " + std::to_string(x) + "," + std::to_string(y), [x, y](TestGame&) { PushClick(x, y); });
}
Step Key(SDL_Keycode key);  // and the 150 ms a menu needs before its next key

class TestGame : public Game {
public:
    static constexpr float StepMs = 1000.0f / 60.0f;
    TestGame();

    std::vector<Step> script;
    int maxFrames = 3000;
    std::function<void(TestGame&)> everyFrame;  // after the script, each frame

    void Play();  // runs until the script is done; fails naming a step left at maxFrames

    int Frame() const { return frame; }
    bool Running() const { return running; }
    void Resume() { running = true; }
    std::string Screen() const {  // "intro", "game", "menu", "gameover" ...
        for (const auto& entry : states)
            if (entry.second == currentState) return entry.first;
        return "none";
    }
    GameData& Data() { return gameData; }
    GameRunState* Table() const { return dynamic_cast<GameRunState*>(states.at("game")); }
    std::vector<Card>& Cards() const { return Table()->cards; }
    Ostrel::MenuComponent* OpenMenu() const;  // of the current screen, or null
    std::vector<std::string> MenuLines() const {
        std::vector<std::string> lines;
        if (Ostrel::MenuComponent* open = OpenMenu())
            for (const Ostrel::MenuComponent* entry : open->children) lines.push_back(entry->label);
        return lines;
    }
    bool ClickLine(const std::string& label) const;
    bool EditorShown() const;
    SDL_Window* Window() const { return SDL_GL_GetCurrentWindow(); }
    Ostrel::WindowManager* Windows() const { return windowManager; }
    const Ostrel::EventBuffer& Events() const { return eventBuffer; }
    Rgb Pixels() const;  // the frame just drawn

    void Render() override;

private:
    GameEnvironment environment;
    size_t next = 0;
    int frame = 0;
    bool savedFailure = false;
};

}  // namespace GameTest
