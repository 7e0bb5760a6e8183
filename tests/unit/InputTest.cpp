// The SDL input manager fed with hand-made events, one frame at a time.
#include "UnitDoubles.h"
#include "core/EventBuffer.h"
#include "sdl/SDLInputManager.h"
#include <gtest/gtest.h>

using namespace OstrelTest;

namespace {
struct Input {
    EventBuffer buffer;
    SDLInputManager input{&buffer};
    std::string clicks;  // "L" or "R" per click heard
    Input() {
        input.AddClickListener([this](const OnClickEvent& e) { clicks += e.left ? "L" : e.right ? "R" : "?"; });
    }
    // One frame of `dt` ms; then the state is the test's to read.
    void Frame(std::vector<SDL_Event> events = {}, float dt = 16.0f) {
        buffer.count = 0;
        for (const SDL_Event& e : events) buffer.events[buffer.count++] = e;
        input.Update(dt);
    }
    std::string Mouse() {
        const MouseState m = input.GetMouseState();
        return std::to_string(m.x) + "," + std::to_string(m.y) + " d" + std::to_string(m.dx) + "," +
               std::to_string(m.dy) + (m.left ? " L" : "") + (m.right ? " R" : "");
    }
};
}  // namespace

TEST(Input, KeysMapIntoTheFrameTheyArriveIn) {
    const std::pair<SDL_Keycode, int32_t> rows[] = {
        {SDLK_UP, KeyCode::Up},         {SDLK_DOWN, KeyCode::Down},
        {SDLK_LEFT, KeyCode::Left},     {SDLK_RIGHT, KeyCode::Right},
        {SDLK_RETURN, KeyCode::Return}, {SDLK_KP_ENTER, KeyCode::KeypadEnter},
        {SDLK_TAB, KeyCode::Tab},       {SDLK_BACKQUOTE, KeyCode::Backquote},
        {SDLK_ESCAPE, KeyCode::Escape}, {SDLK_a, 'a'}};
    for (auto [sdl, code] : rows) {
        Input in;
        in.Frame({KeyDown(sdl)});
        EXPECT_TRUE(in.input.IsKeyPressed(code) && !in.input.IsKeyNotPressed(code)) << sdl;
        in.Frame();
        EXPECT_FALSE(in.input.IsKeyPressed(code)) << sdl;
    }
}

TEST(Input, MouseMotionButtonsAndClicks) {
    Input in;
    in.Frame({MouseMotion(100, 50)});
    in.Frame({MouseMotion(110, 45), MouseButton(true)});
    EXPECT_EQ(in.Mouse(), "110,45 d10,-5 L");
    in.Frame();
    EXPECT_EQ(in.Mouse(), "110,45 d0,0 L");  // held
    in.Frame({MouseButton(false)});
    in.Frame({}, 2000.0f);  // past the click window
    in.Frame({MouseButton(true, SDL_BUTTON_RIGHT)});
    EXPECT_EQ(in.Mouse(), "110,45 d0,0 R");
    in.Frame({MouseButton(false, SDL_BUTTON_RIGHT)});
    in.Frame({MouseButton(true)});
    in.Frame({}, 2000.0f);
    in.Frame({MouseButton(false)});  // released long after the press: no click
    EXPECT_EQ(in.clicks, "LR");
    // A quick tap, pressed and released within one frame, reads as down for that frame.
    for (Uint8 button : {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT}) {
        in.Frame({MouseButton(true, button), MouseButton(false, button)});
        EXPECT_EQ(in.Mouse(), button == SDL_BUTTON_LEFT ? "110,45 d0,0 L" : "110,45 d0,0 R");
        in.Frame();
        EXPECT_EQ(in.Mouse(), "110,45 d0,0");
    }
}

TEST(Input, ListenerAddedDuringAClickIsSafeAndHearsTheNextOne) {
    Input in;
    int late = 0;
    in.input.AddClickListener([&](const OnClickEvent&) {
        for (int i = 0; i < 64; ++i) in.input.AddClickListener([&](const OnClickEvent&) { ++late; });
    });
    in.Frame({MouseButton(true), MouseButton(false)});
    EXPECT_EQ(late, 0);
    in.Frame({MouseButton(true), MouseButton(false)});
    EXPECT_EQ(late, 64);
}

TEST(Input, ControllerButtonsDpadAndAxesPerSlot) {
    Input in;
    const std::pair<SDL_GameControllerButton, uint32_t> buttons[] = {
        {SDL_CONTROLLER_BUTTON_A, ControllerButton::A},
        {SDL_CONTROLLER_BUTTON_B, ControllerButton::B},
        {SDL_CONTROLLER_BUTTON_X, ControllerButton::X},
        {SDL_CONTROLLER_BUTTON_Y, ControllerButton::Y},
        {SDL_CONTROLLER_BUTTON_START, ControllerButton::Start},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, DpadDirection::Up << 8},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, DpadDirection::Down << 8},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, DpadDirection::Left << 8},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, DpadDirection::Right << 8}};  // d-pad bits shifted past the buttons
    for (auto [sdl, bits] : buttons) {
        in.Frame({PadButton(sdl, 2), PadButton(sdl, 7)});  // slot 7 does not exist
        const ControllerState& pad = in.input.controllers[2];
        EXPECT_EQ(pad.buttons | pad.dpad << 8 | in.input.controllers[0].buttons, bits) << sdl;
        in.input.EndFrame();
        EXPECT_EQ(pad.buttons | pad.dpad, 0u);
    }
    in.Frame({PadAxis(SDL_CONTROLLER_AXIS_LEFTX, 32767, 3), PadAxis(SDL_CONTROLLER_AXIS_LEFTY, -32767, 3),
              PadAxis(SDL_CONTROLLER_AXIS_RIGHTX, 16384, 3), PadAxis(SDL_CONTROLLER_AXIS_RIGHTY, -8192, 3),
              PadAxis(SDL_CONTROLLER_AXIS_LEFTX, 100, -1)});
    in.input.EndFrame();  // a stick stays where it was left
    const float* axes = in.input.controllers[3].axes;
    EXPECT_EQ(std::vector<float>(axes, axes + 4),
              std::vector<float>({1.0f, -1.0f, 16384 / 32767.0f, -8192 / 32767.0f}));
}
