// GameHarness.h - the whole game under test, in process or as a program.
//
//   GameDir        a temporary working directory whose assets/ mirrors the
//                  repository's file by file (links), with a test config.txt
//   TestGame       the real Game on a fixed frame step (game time advances by
//                  frames, never by the wall clock) driven by a list of Steps;
//                  saves the frame as a PNG when a check fails
//   Push*          SDL events as a player causes them; seen the next frame
//   VirtualPad     a virtual game controller (attach before Play)
//   RunInChild     a job in a forked process: a crash or hang ends the child
//   CaptureWindow  an X window's contents through ImageMagick's import
#pragma once

#include "Game.h"
#include "GameRunState.h"
#include "TempDir.h"
#include "components/MenuComponent.h"

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace GameTest {

using OstrelTest::ExecutableDir;
using OstrelTest::ScopedChdir;
using OstrelTest::TempDir;

// The repository's config.txt with these keys' values replaced or appended.
std::string ConfigWith(std::map<std::string, std::string> values);
// Short memorise and hide phases for scripted play.
std::string QuickConfig();
std::string ReadBytes(const std::string& path);
std::string Shell(const std::string& command);  // its standard output

class GameDir {
public:
    explicit GameDir(const std::string& config = QuickConfig());
    const std::string& Root() const { return dir.Path(); }
    // Replaces a file (never writing through the link) or removes it.
    void Write(const std::string& relative, const std::string& bytes) const;
    void Remove(const std::string& relative) const;
    std::string Original(const std::string& relative) const;

private:
    TempDir dir;
};

void PushKeyPress(SDL_Keycode key);
void PushMouse(int x, int y, bool down);  // motion, then the left button
void PushClick(int x, int y);             // motion, press and release in one frame
void PushResize(SDL_Window* window, int width, int height);
void PushWindowClose(SDL_Window* window);

class VirtualPad {
public:
    VirtualPad();
    bool Attached() const { return index >= 0; }
    void Set(SDL_GameControllerButton button, bool pressed);

private:
    int index = -1;
};

struct Rgb {
    int width = 0, height = 0;
    std::vector<uint8_t> px;  // 3 bytes a pixel, rows top first
    const uint8_t* At(int x, int y) const { return &px[(static_cast<size_t>(y) * width + x) * 3]; }
    // Pixels in the rectangle that differ from the game's clear colour.
    int Drawn(int x, int y, int w, int h) const;
    // Distinct colours in the rectangle, sampled every `step` pixels.
    size_t Colours(int x, int y, int w, int h, int step = 2) const;
    bool SavePng(const std::string& path) const;
};

Rgb CaptureWindow(unsigned long xWindow);
unsigned long XWindowOf(SDL_Window* window);  // 0 when not on X
// <build>/e2e-failures/<suite>.<test>-<tag>.png
std::string FailurePath(const std::string& tag);

// One step of a script: called each frame until it returns true.
struct Step {
    std::string what;
    std::function<bool(class TestGame&)> run;
};
Step Do(const std::string& what, std::function<void(TestGame&)> action);
Step WaitFor(const std::string& what, std::function<bool(TestGame&)> done);
Step Frames(int count);  // lets time pass: frames at the fixed step
Step Click(int x, int y);
Step Key(SDL_Keycode key);  // and the 150 ms a menu needs before its next key

class TestGame : public Game {
public:
    static constexpr float StepMs = 1000.0f / 60.0f;
    TestGame();

    std::vector<Step> script;
    int maxFrames = 3000;
    std::function<void(TestGame&)> everyFrame;  // after the script, each frame

    // Initialize, Run until the script is done, Shutdown; fails when the loop ends at maxFrames with
    // steps left, naming the step it was stuck at.
    void Play();

    int Frame() const { return frame; }
    bool Running() const { return running; }
    void Resume() { running = true; }
    std::string Screen() const;  // "intro", "game", "menu", "gameover" ...
    GameData& Data() { return gameData; }
    GameRunState* Table() const;
    // The open node of the current screen's menu; null when none shows.
    Ostrel::MenuComponent* OpenMenu() const;
    std::vector<std::string> MenuLines() const;
    std::string SelectedLine() const;
    // Clicks the line of the open menu with this label.
    bool ClickLine(const std::string& label) const;
    bool EditorShown() const;
    SDL_Window* Window() const;
    Ostrel::WindowManager* Windows() const { return windowManager; }
    const Ostrel::EventBuffer& Events() const { return eventBuffer; }
    // The back buffer as drawn this frame (from the script: the last frame).
    Rgb Pixels() const;

    void Render() override;

private:
    size_t next = 0;
    int frame = 0;
    bool savedFailure = false;
};

struct ChildRun {
    bool clean = false;  // exited with status 0
    std::string how;     // "exit 3", "signal 11" (14: hung)
    std::string output;  // standard output and error
};
std::vector<ChildRun> RunInChildren(const std::vector<std::function<int()>>& jobs, int parallel, int timeoutSeconds);

}  // namespace GameTest
