// Named states on a framework that is never initialised, the window manager's
// event handling without a window, and the frame pacing with a fake clock.
#include "UnitDoubles.h"
#include "core/EventBuffer.h"
#include "core/Framework.h"
#include "core/State.h"
#include "sdl/SDLTimeManager.h"
#include "sdl/SDLWindowManager.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

using Log = std::vector<std::string>;

namespace {
struct App : Ostrel::Framework {
    using Framework::currentState;
    void Init() override {}
    void Update(float) override {}
    void Render() override {}
};
struct Logged : Ostrel::State {
    Logged(Ostrel::Framework* fw, std::string name, Log* log) : State(fw), name(std::move(name)), log(log) {}
    void Init() override { log->push_back(name + ".Init"); }
    void Cleanup() override { log->push_back(name + ".Cleanup"); }
    void OnEnter() override { log->push_back(name + ".OnEnter"); }
    void OnExit() override { log->push_back(name + ".OnExit"); }
    std::string name;
    Log* log;
};
// The framework never frees its managers: keep it reachable for the leak checker.
App& NewApp() {
    static auto* apps = new std::vector<App*>();
    apps->push_back(new App());
    return *apps->back();
}
SDL_Event Window(Uint8 kind) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = kind;
    return e;
}
}  // namespace

TEST(NamedStates, SwitchingExitsAndEntersAndUnknownNamesChangeNothing) {
    App& app = NewApp();
    Log log;
    Logged a(&app, "a", &log), b(&app, "b", &log), c(&app, "c", &log);
    app.AddState("a", &a);
    app.AddState("b", &b);
    app.SwitchState("a");
    a.ChangeState("b");
    EXPECT_EQ(app.currentState, &b);
    const std::string err = OstrelTest::Stderr([&] { b.ChangeState("nowhere"); });
    EXPECT_EQ(app.currentState, &b);
    EXPECT_EQ(OstrelTest::Lines(err), 1);
    EXPECT_NE(err.find("nowhere"), std::string::npos);
    app.AddState("a", &c);  // replacing cleans up the old one
    app.RemoveState("b");
    app.RemoveState("none");
    EXPECT_EQ(log, (Log{"a.Init", "b.Init", "a.OnEnter", "a.OnExit", "b.OnEnter", "a.Cleanup", "c.Init", "b.Cleanup"}));
    // A null state can be registered, replaced, entered and removed.
    app.AddState("empty", nullptr);
    app.AddState("empty", nullptr);
    app.SwitchState("empty");
    EXPECT_EQ(app.currentState, nullptr);
    app.AddState("empty", &b);
    app.RemoveState("empty");
}

TEST(WindowEvents, CloseAsksTheHandlerOnceAndResizeListenersMayAddListeners) {
    Ostrel::EventBuffer buffer;
    Ostrel::SDLWindowManager window(&buffer);
    int asked = 0;
    bool veto = true;
    window.closeHandler = [&](Ostrel::WindowCloseClickedEvent* e) {
        ++asked;
        e->handled = veto;
    };
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    for (const SDL_Event& e : {Window(SDL_WINDOWEVENT_CLOSE), quit}) {
        asked = 0;
        veto = true;
        buffer.events[0] = e;
        buffer.events[1] = Window(SDL_WINDOWEVENT_FOCUS_GAINED);
        buffer.count = 2;
        window.ProcessEvents();
        EXPECT_EQ(asked, 1);
        EXPECT_FALSE(window.closeRequested);
        veto = false;
        window.ProcessEvents();
        EXPECT_EQ(asked, 2);
        EXPECT_TRUE(window.closeRequested);
        window.closeRequested = false;
    }
    buffer.events[0] = Window(SDL_WINDOWEVENT_FOCUS_GAINED);
    buffer.count = 1;
    window.ProcessEvents();
    EXPECT_EQ(asked, 2);

    OstrelTest::WindowRecorder recorder;
    std::vector<int> widths;
    recorder.AddWindowResizedListener([&](Ostrel::WindowResizedEvent* e) {
        widths.push_back(e->width);
        for (int i = 0; i < 32; ++i)
            recorder.AddWindowResizedListener([&](Ostrel::WindowResizedEvent* e2) { widths.push_back(-e2->width); });
    });
    recorder.Resize(640, 480);
    EXPECT_EQ(widths, (std::vector<int>{640}));  // new listeners hear from the next resize on
    recorder.Resize(320, 200);
    EXPECT_EQ(widths.size(), 34u);
    EXPECT_EQ(widths.back(), -320);
}

TEST(FramePacing, ShortFramesSleepOutTheBudgetLongOnesAreMeasured) {
    Ostrel::SDLTimeManager time(60);
    uint64_t now = 1000;
    std::vector<uint32_t> sleeps;
    time.getTicks = [&] { return now; };
    time.delay = [&](uint32_t ms) { sleeps.push_back(ms); };
    time.Start();
    time.BeginFrame();
    now += 5;
    time.EndFrame();
    EXPECT_EQ(sleeps, (std::vector<uint32_t>{11}));
    EXPECT_FLOAT_EQ(time.GetDeltaMs(), 1000.0f / 60);
    EXPECT_NEAR(time.GetFPS(), 60.0f, 1e-3f);
    time.BeginFrame();
    now += 40;
    time.EndFrame();
    EXPECT_EQ(sleeps.size(), 1u);
    EXPECT_FLOAT_EQ(time.GetDeltaMs(), 40.0f);
    EXPECT_NEAR(time.GetFPS(), 25.0f, 1e-3f);
    EXPECT_NEAR(time.GetTotalSeconds(), (40 + 1000 / 60.0f) / 1000, 1e-6f);
}
