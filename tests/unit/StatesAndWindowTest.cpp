// Named states on a framework that is never initialised, the window manager's
// event handling without a window, and frame pacing on a fake clock.
#include "UnitDoubles.h"
#include "core/EventBuffer.h"
#include "core/State.h"
#include "sdl/SDLWindowManager.h"
#include <gtest/gtest.h>

using namespace OstrelTest;

namespace {
struct App : Framework {
    using Framework::currentState;
    void Init() override {}
    void Update(float) override {}
    void Render() override {}
};
struct Logged : State {
    Logged(Framework* fw, std::string name, std::string* log) : State(fw), name(std::move(name)), log(log) {}
    void Init() override { *log += name + ".Init "; }
    void Cleanup() override { *log += name + ".Cleanup "; }
    void OnEnter() override { *log += name + ".OnEnter "; }
    void OnExit() override { *log += name + ".OnExit "; }
    std::string name;
    std::string* log;
};
}  // namespace

TEST(NamedStates, SwitchingExitsAndEntersAndUnknownNamesChangeNothing) {
    static App& app = *new App;  // a framework never frees its managers: it stays reachable
    std::string log;
    Logged a(&app, "a", &log), b(&app, "b", &log), c(&app, "c", &log);
    app.AddState("a", &a);
    app.AddState("b", &b);
    app.SwitchState("a");
    a.ChangeState("b");
    const std::string err = Stderr([&] { b.ChangeState("nowhere"); });
    EXPECT_EQ(app.currentState, &b);
    EXPECT_EQ(Lines(err), 1);
    EXPECT_NE(err.find("nowhere"), std::string::npos);
    app.AddState("a", &c);  // replacing cleans up the old one
    app.RemoveState("b");
    app.RemoveState("none");
    EXPECT_EQ(log, "a.Init b.Init a.OnEnter a.OnExit b.OnEnter a.Cleanup c.Init b.Cleanup ");
    // A null state can be registered, replaced, entered and removed.
    for (State* state : {(State*)nullptr, (State*)nullptr, (State*)&b}) app.AddState("empty", state);
    app.AddState("none", nullptr);
    app.SwitchState("none");
    EXPECT_EQ(app.currentState, nullptr);
    app.RemoveState("empty");
}

TEST(WindowEvents, CloseAsksTheHandlerOnceAndResizeListenersMayAddListeners) {
    EventBuffer buffer;
    SDLWindowManager window(&buffer);
    int asked = 0;
    bool veto = true;
    window.closeHandler = [&](WindowCloseClickedEvent* e) { e->handled = veto, ++asked; };
    SDL_Event close{SDL_WINDOWEVENT}, focus{SDL_WINDOWEVENT}, quit{SDL_QUIT};
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    focus.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
    for (const SDL_Event& e : {close, quit}) {  // SIGINT and SIGTERM arrive as SDL_QUIT
        buffer.events[0] = e;
        buffer.events[1] = focus;
        buffer.count = 2;
        veto = true;
        window.ProcessEvents();
        EXPECT_FALSE(window.closeRequested);
        veto = false;
        window.ProcessEvents();
        EXPECT_TRUE(window.closeRequested);
        window.closeRequested = false;
    }
    EXPECT_EQ(asked, 4);

    std::vector<int> widths;  // without a window, only the size is recorded and announced
    window.AddWindowResizedListener([&](WindowResizedEvent* e) {
        widths.push_back(e->width);
        for (int i = 0; i < 32; ++i)
            window.AddWindowResizedListener([&](WindowResizedEvent* e2) { widths.push_back(-e2->width); });
    });
    window.Resize(640, 480);
    EXPECT_EQ(widths, std::vector<int>{640});  // a new listener hears from the next resize on
    window.Resize(320, 200);
    EXPECT_EQ(widths.size(), 34u);
    EXPECT_EQ(widths.back(), -320);
}

TEST(FramePacing, ShortFramesSleepOutTheBudgetLongOnesAreMeasured) {
    SDLTimeManager time(60);
    uint64_t now = 1000;
    std::vector<uint32_t> sleeps;
    time.getTicks = [&] { return now; };
    time.delay = [&](uint32_t ms) { sleeps.push_back(ms); };
    time.Start();
    now += 5;
    time.EndFrame();
    EXPECT_EQ(sleeps, std::vector<uint32_t>{11});
    EXPECT_NEAR(time.GetFPS(), 60.0f, 1e-3f);
    time.BeginFrame();
    now += 40;
    time.EndFrame();
    EXPECT_EQ(sleeps.size(), 1u);
    EXPECT_NEAR(time.GetFPS(), 25.0f, 1e-3f);
    EXPECT_NEAR(time.GetTotalSeconds(), (40 + 1000 / 60.0f) / 1000, 1e-6f);
}
