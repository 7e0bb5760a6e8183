// The SDL input manager fed hand-made events, named states, and window events without a window.
#include "UnitDoubles.h"
#include "core/State.h"
#include "sdl/SDLInputManager.h"
#include "sdl/SDLWindowManager.h"

using namespace OstrelTest;

TEST(Input, KeysAndControllersMapIntoTheFrameTheyArriveIn) {
    const std::pair<SDL_Keycode, int32_t> rows[] = {
        {SDLK_UP, KeyCode::Up},         {SDLK_DOWN, KeyCode::Down},
        {SDLK_LEFT, KeyCode::Left},     {SDLK_RIGHT, KeyCode::Right},
        {SDLK_RETURN, KeyCode::Return}, {SDLK_KP_ENTER, KeyCode::KeypadEnter},
        {SDLK_TAB, KeyCode::Tab},       {SDLK_BACKQUOTE, KeyCode::Backquote},
        {SDLK_ESCAPE, KeyCode::Escape}, {SDLK_a, 'a'}};
    ScreenBed in;  // no screen: its frames only feed the input manager
    InputManager& input = *in.inputManager;
    for (auto [sdl, code] : rows) {
        in.Frame({KeyDown(sdl)});
        int down = 0;
        for (auto [key, pressed] : input.keys) down += pressed;
        EXPECT_TRUE(input.IsKeyPressed(code)) << sdl;
        EXPECT_EQ(down, 1) << sdl;
    }
    in.Frame();
    EXPECT_FALSE(input.IsKeyPressed('a'));
    std::string bits;  // per button: its bit, the d-pad's shifted past the buttons'
    for (auto b : {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_Y,
                   SDL_CONTROLLER_BUTTON_START, SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_DOWN,
                   SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_RIGHT}) {
        in.Frame({PadButton(b, 3), PadButton(b, 4)});  // slot 4 does not exist
        const ControllerState& pad = input.controllers[3];
        bits += std::to_string(pad.buttons | pad.dpad << 8) + " ";
        input.EndFrame();
        EXPECT_EQ(pad.buttons | pad.dpad, 0u);
    }
    EXPECT_EQ(bits, "4 8 1 2 16 256 512 1024 2048 ");
    EXPECT_EQ(Str({input.GetMouseState().x, input.GetMouseState().y, 0, 0}),
              "0,0,0,0");  // slot 4 wrote nothing elsewhere
    in.Frame({PadAxis(SDL_CONTROLLER_AXIS_LEFTX, 32767, 3), PadAxis(SDL_CONTROLLER_AXIS_LEFTY, -32767, 3),
              PadAxis(SDL_CONTROLLER_AXIS_RIGHTX, 16384, 3), PadAxis(SDL_CONTROLLER_AXIS_RIGHTY, -8192, 3),
              PadAxis(SDL_CONTROLLER_AXIS_LEFTX, 100, -1)});
    input.EndFrame();  // a stick stays where it was left
    const float* axes = input.controllers[3].axes;
    EXPECT_EQ(std::vector<float>(axes, axes + 4), std::vector<float>({1, -1, 16384 / 32767.0f, -8192 / 32767.0f}));
}

TEST(Input, MouseMotionButtonsClicksAndListeners) {
    ScreenBed in;
    InputManager& input = *in.inputManager;
    std::string clicks;  // "L" or "R" per click heard
    input.AddClickListener([&](const OnClickEvent& e) { clicks += e.left ? "L" : e.right ? "R" : "?"; });
    const auto mouse = [&] {  // x, y, dx, dy and the buttons held
        const MouseState m = input.GetMouseState();
        return Str({m.x, m.y, m.dx, m.dy}) + (m.left ? " L" : "") + (m.right ? " R" : "");
    };
    in.Frame({MouseMotion(100, 50)});
    in.Frame({MouseMotion(110, 45), MouseButton(true)});
    std::string seen = mouse();
    in.Frame({MouseButton(false)});
    in.Frame({MouseButton(true, SDL_BUTTON_RIGHT)});  // within the left click's window
    EXPECT_EQ(seen + " | " + mouse(), "110,45,10,-5 L | 110,45,0,0 R");
    in.Frame({MouseButton(false, SDL_BUTTON_RIGHT)});  // clicks the right button alone
    in.Frame({MouseButton(true)});
    in.Frame({MouseButton(false)}, 1000.0f);  // held for the whole window: no click
    EXPECT_EQ(clicks, "LR");
    // A listener that registers others while a click is told is safe; they hear from the next click on.
    int late = 0;
    input.AddClickListener([&](const OnClickEvent&) {
        for (int i = 0; i < 64; ++i) input.AddClickListener([&](const OnClickEvent&) { ++late; });
    });
    // A quick tap, pressed and released within one frame, reads as down for that frame.
    seen.clear();
    for (Uint8 button : {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT}) {
        in.Frame({}, 2000.0f);  // past the last click's window
        in.Frame({MouseButton(true, button), MouseButton(false, button)});
        seen += mouse() + " | ";
        in.Frame();
        seen += mouse() + " | ";
    }
    EXPECT_EQ(seen, "110,45,0,0 L | 110,45,0,0 | 110,45,0,0 R | 110,45,0,0 | ");
    EXPECT_EQ(clicks, "LRLR");
    EXPECT_EQ(late, 64);
}

TEST(FrameTimer, AShortFrameSleepsTheRestAndRecordsTheBudgetALongOneItsLength) {
    SDLTimeManager timer(60);
    uint64_t now = (uint64_t(1) << 32) - 3;  // the frames cross the 32-bit tick wrap
    int slept = -1;
    timer.getTicks = [&] { return now; };
    timer.delay = [&](uint32_t ms) { slept = int(ms); };
    timer.Start();
    EXPECT_EQ(timer.GetDeltaMs(), 0.0f);  // the first frame
    // Each row: the frame's measured length, the whole milliseconds slept (-1: none), the length recorded.
    const std::tuple<int, int, float> rows[] = {{5, 11, 16.666667f}, {16, 0, 16.666667f}, {17, -1, 17}, {40, -1, 40}};
    float totalMs = 0;
    for (auto [took, sleep, recorded] : rows) {
        slept = -1;
        timer.BeginFrame();
        now += took;
        timer.EndFrame();
        totalMs += recorded;
        EXPECT_EQ(slept, sleep) << took;
        EXPECT_FLOAT_EQ(timer.GetDeltaMs(), recorded) << took;
        EXPECT_FLOAT_EQ(timer.GetTotalSeconds(), totalMs / 1000) << took;
    }
    EXPECT_FLOAT_EQ(timer.GetFPS(), 25.0f);
}

struct Logged : State {
    Logged(Framework* fw, std::string name, std::string* log) : State(fw), name(std::move(name)), log(log) {}
    void Init() override { *log += name + ".Init "; }
    void Cleanup() override { *log += name + ".Cleanup "; }
    void OnEnter() override { *log += name + ".OnEnter "; }
    void OnExit() override { *log += name + ".OnExit "; }
    std::string name;
    std::string* log;
};

TEST(NamedStates, SwitchingExitsAndEntersAndUnknownNamesChangeNothing) {
    ScreenBed app;
    std::string log;
    Logged a(&app, "a", &log), b(&app, "b", &log), c(&app, "c", &log);
    app.AddState("a", &a);
    app.AddState("b", &b);
    app.SwitchState("a");
    a.ChangeState("b");
    const std::string err = Captured([&] { b.ChangeState("nowhere"); });
    EXPECT_EQ(app.Current(), "b");
    EXPECT_NE(err.find("nowhere"), std::string::npos) << err;  // the message names it
    app.AddState("a", &c);                                     // replacing cleans up the old one
    app.RemoveState("b");
    app.RemoveState("none");
    EXPECT_EQ(log, "a.Init b.Init a.OnEnter a.OnExit b.OnEnter a.Cleanup c.Init b.Cleanup ");
    // A null state can be registered, replaced, entered and removed.
    for (State* state : {(State*)nullptr, (State*)nullptr, (State*)&b}) app.AddState("empty", state);
    app.AddState("none", nullptr);
    app.SwitchState("none");
    app.RemoveState("empty");
    EXPECT_EQ(app.Current(), "none");
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
    std::string requested;
    for (const SDL_Event& e : {close, close, quit, quit}) {  // SIGINT and SIGTERM arrive as SDL_QUIT
        buffer.events[0] = e, buffer.events[1] = focus, buffer.count = 2;
        window.ProcessEvents();
        requested += window.closeRequested ? "Y" : "N";
        window.closeRequested = false, veto = !veto;
    }
    EXPECT_EQ(requested, "NYNY");  // a veto keeps the window
    EXPECT_EQ(asked, 4);           // one question a click

    std::vector<int> widths;  // without a window, only the size is recorded and announced
    window.AddWindowResizedListener([&](WindowResizedEvent* e) {
        widths.push_back(e->width);
        for (int i = 0; i < 32; ++i)
            window.AddWindowResizedListener([&](WindowResizedEvent* e2) { widths.push_back(-e2->width); });
    });
    window.Resize(640, 480);
    window.Resize(320, 200);  // the new listeners hear from this one on
    ASSERT_EQ(widths.size(), 34u);
    EXPECT_EQ(widths[0], 640);
    EXPECT_EQ(widths.back(), -320);
}
