// E2EHarness.h - end-to-end fixture for the real frame loop.
//
//   E2EWorkDir          a temporary working directory holding the repository's
//                       assets and a test "assets/game/config.txt"; entered on
//                       construction, left and removed on destruction.
//   Push* / ResizeWindowAsUser
//                       SDL events as a player would cause them. Events pushed
//                       during frame N are polled at the start of frame N + 1.
//   VirtualController   a virtual game controller; attach it BEFORE
//                       Initialize(), so the input manager opens it.
//   ScriptedApp<Base>   an application (Base derives from Ostrel::Framework,
//                       e.g. the Game) whose hooks run per-frame scripts,
//                       expose the framework's managers, quit after a number of
//                       frames and save the frame as a PNG when a test fails.
//   RunApp(app)         Initialize, Run, Shutdown.
//
// Frames are numbered from 0. In frame N the app's Update hook runs the actions
// given to At(N, ...) and EveryFrame (after Base::Update, before the current
// state updates); the Render hook runs AfterRender callbacks after Base::Render,
// when the state has drawn and the back buffer can be read.
#pragma once

#include "core/Framework.h"
#include "core/InputManager.h"
#include "core/WindowManager.h"
#include "sdl/SDLWindowManager.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace OstrelTest {

// Sets what a headless run needs unless already set: SDL's dummy audio driver,
// the offscreen video driver when there is no X display, and joystick events
// without window focus (Xvfb has no window manager to give focus).
void PrepareE2EEnvironment();

// The repository's config.txt with the given keys' values replaced (keys not
// present are appended), for example {{"time_to_start", "100"}}.
std::string RepoConfigWith(const std::map<std::string, std::string>& overrides);
// The repository's config with short times for tests.
std::string TestConfig();

class E2EWorkDir {
public:
    explicit E2EWorkDir(const std::string& configText = TestConfig());
    ~E2EWorkDir();
    E2EWorkDir(const E2EWorkDir&) = delete;
    E2EWorkDir& operator=(const E2EWorkDir&) = delete;

    const std::string& Path() const { return path; }
    // Replaces assets/game/config.txt.
    void WriteConfig(const std::string& text) const;
    // Writes any file below the working directory.
    void WriteFile(const std::string& relativePath, const std::string& text) const;

private:
    std::string path;
    std::string previous;
};

// --- Events -----------------------------------------------------------------
void PushKeyDown(SDL_Keycode key);
void PushKeyUp(SDL_Keycode key);
void PushKeyPress(SDL_Keycode key);  // down then up
void PushMouseMotion(int x, int y);
void PushMouseButton(Uint8 button, bool down, int x, int y);
void PushClick(int x, int y, Uint8 button = SDL_BUTTON_LEFT);  // motion, down, up
void PushWindowClose(SDL_Window* window);
// Synthetic controller events (no device needed); `which` is the slot.
void PushControllerButton(SDL_JoystickID which, Uint8 button, bool down = true);
void PushControllerAxis(SDL_JoystickID which, Uint8 axis, Sint16 value);
// Resizes the window and reports it the way a user's resize is reported.
void ResizeWindowAsUser(SDL_Window* window, int width, int height);

// A virtual SDL game controller. Attach before the framework initialises;
// the events it produces carry its instance id, which is the input manager's
// slot only for the first device a process attaches (ctest runs every test in
// a process of its own). Use PushController* to address a slot directly.
class VirtualController {
public:
    VirtualController();
    ~VirtualController();
    VirtualController(const VirtualController&) = delete;
    VirtualController& operator=(const VirtualController&) = delete;

    bool Attached() const { return deviceIndex >= 0; }
    SDL_JoystickID InstanceId() const { return instanceId; }
    // Press or release; the event reaches the queue at the next event pump.
    void SetButton(SDL_GameControllerButton button, bool pressed);
    void SetAxis(SDL_GameControllerAxis axis, Sint16 value);

private:
    SDL_Joystick* Joystick();
    int deviceIndex = -1;
    SDL_JoystickID instanceId = -1;
    SDL_Joystick* joystick = nullptr;
};

// --- Frames -----------------------------------------------------------------
// Reads the current back buffer (top row first, RGBA).
std::vector<uint8_t> ReadBackBuffer(int width, int height);
// Where a failing test's frame goes: <build dir>/e2e-failures/<suite>.<test>-<tag>.png
std::string FailureImagePath(const std::string& tag);
bool SaveRgbaPng(const std::string& path, const std::vector<uint8_t>& rgba, int width, int height);

template <typename Base>
class ScriptedApp : public Base {
public:
    using Action = std::function<void(ScriptedApp&)>;
    using FrameAction = std::function<void(ScriptedApp&, int frame)>;

    // Safety net: the loop ends after this many frames even if no script quits.
    int maxFrames = 600;
    // Keep a copy of every frame's back buffer so a failure found after Run
    // can still be saved.
    bool keepLastFrame = true;

    template <typename... Args>
    explicit ScriptedApp(Args&&... args) : Base(std::forward<Args>(args)...) {
        PrepareE2EEnvironment();
    }
    // Checks made after Run still get their picture: the kept frame is saved here.
    ~ScriptedApp() { SaveLastFrameOnFailure(); }
    ScriptedApp(const ScriptedApp&) = delete;
    ScriptedApp& operator=(const ScriptedApp&) = delete;

    void At(int frame, Action action) { actions.emplace(frame, std::move(action)); }
    void EveryFrame(FrameAction action) { everyFrame.push_back(std::move(action)); }
    void AfterRender(FrameAction action) { afterRender.push_back(std::move(action)); }
    void QuitAfterFrames(int frames) { maxFrames = frames; }

    int FrameNumber() const { return frame; }
    int FramesRendered() const { return rendered; }
    const std::vector<float>& HookDts() const { return dts; }

    // The framework's members, for scripts and checks.
    Ostrel::State* CurrentState() const { return this->currentState; }
    const std::map<std::string, Ostrel::State*>& States() const { return this->states; }
    std::string AppName() const { return this->name; }
    void SetAppName(const std::string& n) { this->name = n; }
    bool IsRunning() const { return this->running; }
    Ostrel::WindowManager* WindowManager() const { return this->windowManager; }
    SDL_Window* Window() const { return static_cast<Ostrel::SDLWindowManager*>(this->windowManager)->window; }
    Ostrel::Renderer* GetRenderer() const { return this->renderer; }
    Ostrel::InputManager* Input() const { return this->inputManager; }
    Ostrel::ITimeManager* Time() const { return this->timeManager; }
    Ostrel::SoundManager* Sound() const { return this->soundManager; }
    Ostrel::Config* GetConfig() const { return this->config; }
    Ostrel::ITextureManager* Textures() const { return this->textureManager; }
    Ostrel::SpriteRenderer* Sprites() const { return this->spriteRenderer; }
    Ostrel::TextRenderer* Text() const { return this->textRenderer; }
    Ostrel::PostProcessManager* PostProcess() const { return this->postProcessManager; }
    const Ostrel::EventBuffer& Events() const { return this->eventBuffer; }
    Ostrel::Framework* AsFramework() { return this; }

    // The drawable size of the window.
    void DrawableSize(int* width, int* height) const { SDL_GL_GetDrawableSize(Window(), width, height); }
    // The back buffer as it is now; call from an AfterRender callback.
    std::vector<uint8_t> ReadFrame() const {
        int w = 0, h = 0;
        DrawableSize(&w, &h);
        return ReadBackBuffer(w, h);
    }
    // Saves the back buffer now (from an AfterRender callback).
    bool SaveFrame(const std::string& path) const {
        int w = 0, h = 0;
        DrawableSize(&w, &h);
        return SaveRgbaPng(path, ReadBackBuffer(w, h), w, h);
    }
    // Saves the last kept frame if the test has failed (RunApp and the destructor call it).
    void SaveLastFrameOnFailure() {
        if (!testing::Test::HasFailure() || savedFailure || lastFrame.empty()) return;
        savedFailure = SaveRgbaPng(FailureImagePath("last-frame"), lastFrame, lastWidth, lastHeight);
    }

    void Update(float dt) override {
        Base::Update(dt);
        dts.push_back(dt);
        auto range = actions.equal_range(frame);
        for (auto it = range.first; it != range.second; ++it) it->second(*this);
        for (auto& action : everyFrame) action(*this, frame);
        if (frame + 1 >= maxFrames) this->Quit();
    }

    void Render() override {
        Base::Render();
        for (auto& action : afterRender) action(*this, frame);
        if (testing::Test::HasFailure() && !savedFailure) {
            savedFailure = SaveFrame(FailureImagePath("frame-" + std::to_string(frame)));
        } else if (keepLastFrame) {
            DrawableSize(&lastWidth, &lastHeight);
            lastFrame = ReadBackBuffer(lastWidth, lastHeight);
        }
        ++rendered;
        ++frame;
    }

private:
    std::multimap<int, Action> actions;
    std::vector<FrameAction> everyFrame;
    std::vector<FrameAction> afterRender;
    std::vector<float> dts;
    int frame = 0;
    int rendered = 0;
    bool savedFailure = false;
    std::vector<uint8_t> lastFrame;
    int lastWidth = 0;
    int lastHeight = 0;
};

template <typename App>
void RunApp(App& app) {
    app.Initialize();
    app.Run();
    app.SaveLastFrameOnFailure();
    app.Shutdown();
}

}  // namespace OstrelTest
