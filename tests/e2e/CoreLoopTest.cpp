// The framework's real frame loop (Initialize, Run, Shutdown) with a small
// application derived straight from Ostrel::Framework: window and context,
// ending the loop, delta times, state switches and input through the loop.
#include "E2EHarness.h"

#include "core/Config.h"
#include "core/InputManager.h"
#include "core/ITimeManager.h"
#include "core/Renderer.h"
#include "core/State.h"
#include "core/WindowManager.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

using OstrelTest::E2EWorkDir;
using OstrelTest::RunApp;

namespace {

using Log = std::vector<std::string>;

// Records its hooks; the bare minimum an application supplies.
class CoreApp : public Ostrel::Framework {
public:
    CoreApp() { name = "Zinnet Memory Game"; }
    void Init() override { log.push_back("app.Init"); }
    void Update(float) override { log.push_back("app.Update"); }
    void Render() override { log.push_back("app.Render"); }

    // Registers and enters states from tests.
    void Add(const std::string& stateName, Ostrel::State* state) { AddState(stateName, state); }
    Log log;
};

using App = OstrelTest::ScriptedApp<CoreApp>;

// A state that logs what the loop calls and can run an action in its Update.
class ScriptState : public Ostrel::State {
public:
    ScriptState(Ostrel::Framework* fw, std::string label, Log* log) : State(fw), label(std::move(label)), log(log) {}
    void Init() override { log->push_back(label + ".Init"); }
    void OnEnter() override {
        log->push_back(label + ".OnEnter");
        if (onEnter) onEnter();
    }
    void OnExit() override { log->push_back(label + ".OnExit"); }
    void Update(float dt) override {
        dts.push_back(dt);
        log->push_back(label + ".Update");
        if (onUpdate) onUpdate(static_cast<int>(dts.size()));
    }
    void Render() override { log->push_back(label + ".Render"); }

    std::string label;
    Log* log;
    std::vector<float> dts;
    std::function<void(int updateCount)> onUpdate;
    std::function<void()> onEnter;
};

int Count(const Log& log, const std::string& entry) {
    return static_cast<int>(std::count(log.begin(), log.end(), entry));
}

}  // namespace

TEST(CoreLoop, WindowIsTitledSizedResizableWithEsContext) {
    E2EWorkDir dir;
    App app;
    std::string title;
    int width = 0, height = 0;
    Uint32 flags = 0;
    std::string version;
    app.AfterRender([&](App& a, int frame) {
        if (frame != 0) return;
        title = SDL_GetWindowTitle(a.Window());
        SDL_GetWindowSize(a.Window(), &width, &height);
        flags = SDL_GetWindowFlags(a.Window());
        const auto* text = reinterpret_cast<const char*>(glGetString(GL_VERSION));
        version = text != nullptr ? text : "";
    });
    app.QuitAfterFrames(2);
    RunApp(app);
    EXPECT_EQ(title, "Zinnet Memory Game");
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    EXPECT_NE(flags & SDL_WINDOW_OPENGL, 0u);
    EXPECT_NE(flags & SDL_WINDOW_RESIZABLE, 0u);
    EXPECT_NE(version.find("OpenGL ES 3"), std::string::npos) << version;
    EXPECT_EQ(Count(app.log, "app.Init"), 1);
}

TEST(CoreLoop, StartUpReadsConfigFromWorkingDirectory) {
    E2EWorkDir dir(OstrelTest::RepoConfigWith({{"hide_time", "123"}}));
    App app;
    int hideTime = -1;
    app.At(0, [&](App& a) { a.GetConfig()->GetInt("hide_time", &hideTime); });
    app.QuitAfterFrames(1);
    RunApp(app);
    EXPECT_EQ(hideTime, 123);
}

TEST(CoreLoop, WindowCloseEndsRunAfterThatFrame) {
    E2EWorkDir dir;
    App app;
    app.At(2, [](App& a) { OstrelTest::PushWindowClose(a.Window()); });
    bool runningInRenderOfFrame3 = true;
    app.AfterRender([&](App& a, int frame) {
        if (frame == 3) runningInRenderOfFrame3 = a.IsRunning();
    });
    RunApp(app);
    // The close is polled in frame 3, which still completes; nothing runs after it.
    EXPECT_EQ(app.FramesRendered(), 4);
    EXPECT_FALSE(runningInRenderOfFrame3);
    EXPECT_EQ(Count(app.log, "app.Update"), 4);
    EXPECT_EQ(Count(app.log, "app.Render"), 4);
    EXPECT_TRUE(app.WindowManager()->closeRequested);
}

TEST(CoreLoop, VetoedCloseKeepsRunning) {
    E2EWorkDir dir;
    App app;
    int asked = 0;
    app.At(0, [&](App& a) {
        a.WindowManager()->closeHandler = [&](Ostrel::WindowCloseClickedEvent* e) {
            ++asked;
            e->handled = true;
        };
        OstrelTest::PushWindowClose(a.Window());
    });
    app.QuitAfterFrames(5);
    RunApp(app);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(app.FramesRendered(), 5);
    EXPECT_FALSE(app.WindowManager()->closeRequested);
}

TEST(CoreLoop, QuitFromStateFinishesFrameThenEnds) {
    E2EWorkDir dir;
    App app;
    ScriptState play(&app, "play", &app.log);
    play.onUpdate = [&](int n) {
        if (n == 3) app.Quit();
    };
    app.At(0, [&](App& a) {
        a.Add("play", &play);
        a.AsFramework()->SwitchState("play");
    });
    RunApp(app);
    EXPECT_EQ(play.dts.size(), 3u);
    EXPECT_EQ(app.FramesRendered(), 3);
    // The quitting frame still renders the state and runs the render hook.
    ASSERT_GE(app.log.size(), 3u);
    EXPECT_EQ(app.log[app.log.size() - 3], "play.Update");
    EXPECT_EQ(app.log[app.log.size() - 2], "play.Render");
    EXPECT_EQ(app.log.back(), "app.Render");
}

TEST(CoreLoop, FirstFrameSeesZeroDeltaThenFrameLengths) {
    E2EWorkDir dir;
    App app;
    ScriptState play(&app, "play", &app.log);
    app.Add("play", &play);
    app.AsFramework()->SwitchState("play");
    app.QuitAfterFrames(4);
    RunApp(app);
    const std::vector<float>& hook = app.HookDts();
    ASSERT_EQ(hook.size(), 4u);
    ASSERT_EQ(play.dts.size(), 4u);
    EXPECT_EQ(hook[0], 0.0f);
    EXPECT_EQ(play.dts[0], 0.0f);
    for (size_t i = 1; i < hook.size(); ++i) {
        // Each later delta is the previous frame's length: at least the budget.
        EXPECT_GE(hook[i], 1000.0f / 60.0f - 1e-3f) << i;
        EXPECT_EQ(play.dts[i], hook[i]) << i;
    }
    EXPECT_GT(app.Time()->GetTotalSeconds(), 0.0f);
}

TEST(CoreLoop, SwitchInsideUpdateRendersNewStateInSameFrame) {
    E2EWorkDir dir;
    App app;
    ScriptState first(&app, "first", &app.log);
    ScriptState second(&app, "second", &app.log);
    first.onUpdate = [&](int n) {
        if (n == 2) first.ChangeState("second");
    };
    // The new state's colour shows in the frame of the switch: the renderer
    // clears after the updates.
    second.onEnter = [&] { app.GetRenderer()->clearColour = Ostrel::vec4(0.0f, 1.0f, 0.0f, 1.0f); };
    app.Add("first", &first);
    app.Add("second", &second);
    app.AsFramework()->SwitchState("first");
    std::vector<uint8_t> switchFrame;
    app.AfterRender([&](App& a, int frame) {
        if (frame == 1) switchFrame = a.ReadFrame();
    });
    app.QuitAfterFrames(3);
    app.log.clear();
    RunApp(app);

    const Log expected{"app.Init",                                                           // start-up
                       "app.Update",    "first.Update",  "first.Render",  "app.Render",      // frame 0
                       "app.Update",    "first.Update",  "first.OnExit",  "second.OnEnter",  // frame 1:
                       "second.Render", "app.Render",                                        //   the switch
                       "app.Update",    "second.Update", "second.Render", "app.Render"};     // frame 2
    EXPECT_EQ(app.log, expected);
    ASSERT_FALSE(switchFrame.empty());
    const size_t centre = (300u * 800u + 400u) * 4u;
    EXPECT_EQ(switchFrame[centre + 0], 0);
    EXPECT_EQ(switchFrame[centre + 1], 255);
    EXPECT_EQ(switchFrame[centre + 2], 0);
}

TEST(CoreLoop, WithoutStateHooksAndRendererStillRunEveryFrame) {
    E2EWorkDir dir;
    App app;
    app.QuitAfterFrames(3);
    RunApp(app);
    EXPECT_EQ(app.log,
              (Log{"app.Init", "app.Update", "app.Render", "app.Update", "app.Render", "app.Update", "app.Render"}));
}

TEST(CoreLoop, KeysAndClicksReachInputOneFrameLater) {
    E2EWorkDir dir;
    App app;
    int clicks = 0;
    bool escapeInFrame2 = false;
    bool escapeInFrame3 = true;
    Ostrel::MouseState mouseInFrame2;
    Ostrel::MouseState mouseInFrame3;
    app.At(0, [&](App& a) {
        a.Input()->AddClickListener([&](const Ostrel::OnClickEvent& e) { clicks += e.left ? 1 : 0; });
    });
    app.At(1, [](App&) {
        OstrelTest::PushKeyPress(SDLK_ESCAPE);
        OstrelTest::PushClick(120, 340);
    });
    app.At(2, [&](App& a) {
        escapeInFrame2 = a.Input()->IsKeyPressed(Ostrel::KeyCode::Escape);
        mouseInFrame2 = a.Input()->GetMouseState();
    });
    app.At(3, [&](App& a) {
        escapeInFrame3 = a.Input()->IsKeyPressed(Ostrel::KeyCode::Escape);
        mouseInFrame3 = a.Input()->GetMouseState();
    });
    app.QuitAfterFrames(4);
    RunApp(app);
    EXPECT_TRUE(escapeInFrame2);
    EXPECT_FALSE(escapeInFrame3);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(mouseInFrame2.x, 120);
    EXPECT_EQ(mouseInFrame2.y, 340);
    // A tap whose press and release arrive in one frame reads as held for
    // that frame, so screens that poll the button still see it.
    EXPECT_TRUE(mouseInFrame2.left);
    EXPECT_FALSE(mouseInFrame3.left);
}

TEST(CoreLoop, VirtualControllerIsOpenedAndReportsButtons) {
    E2EWorkDir dir;
    OstrelTest::VirtualController pad;
    ASSERT_TRUE(pad.Attached());
    App app;
    bool connected = false;
    uint32_t buttonsSeen = 0;
    float axisSeen = 0.0f;
    app.At(0, [&](App& a) {
        const int slot = pad.InstanceId();
        ASSERT_GE(slot, 0);
        ASSERT_LT(slot, 4);
        connected = a.Input()->controllers[slot].connected;
        pad.SetButton(SDL_CONTROLLER_BUTTON_A, true);
        pad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
    });
    app.At(1, [&](App&) { pad.SetButton(SDL_CONTROLLER_BUTTON_A, false); });
    app.EveryFrame([&](App& a, int) {
        const int slot = pad.InstanceId();
        if (slot < 0 || slot >= 4) return;
        buttonsSeen |= a.Input()->controllers[slot].buttons;
        if (a.Input()->controllers[slot].axes[0] != 0.0f) axisSeen = a.Input()->controllers[slot].axes[0];
    });
    app.QuitAfterFrames(6);
    RunApp(app);
    EXPECT_TRUE(connected);
    EXPECT_EQ(buttonsSeen, Ostrel::ControllerButton::A);
    EXPECT_FLOAT_EQ(axisSeen, -1.0000305f);
}

TEST(CoreLoop, UserResizeReachesRendererAndListeners) {
    E2EWorkDir dir;
    App app;
    std::vector<std::pair<int, int>> heard;
    Ostrel::ivec2 rendererSize;
    app.At(0, [&](App& a) {
        a.WindowManager()->AddWindowResizedListener([&](Ostrel::WindowResizedEvent* e) {
            heard.push_back({e->width, e->height});
        });
        OstrelTest::ResizeWindowAsUser(a.Window(), 640, 480);
    });
    app.At(2, [&](App& a) { rendererSize = a.GetRenderer()->GetSize(); });
    app.QuitAfterFrames(3);
    RunApp(app);
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard.back(), std::make_pair(640, 480));
    EXPECT_EQ(rendererSize.x, 640);
    EXPECT_EQ(rendererSize.y, 480);
    EXPECT_EQ(app.WindowManager()->settings.width, 640);
    EXPECT_EQ(app.WindowManager()->settings.height, 480);
}
