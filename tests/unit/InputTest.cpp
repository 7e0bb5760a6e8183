// The SDL input manager fed with hand-made events, one frame at a time.
#include "core/EventBuffer.h"
#include "sdl/SDLInputManager.h"
#include <gtest/gtest.h>
#include <vector>

using namespace Ostrel;

namespace {
struct Input {
    EventBuffer buffer;
    SDLInputManager input{&buffer};
    std::vector<OnClickEvent> clicks;
    Input() {
        input.AddClickListener([this](const OnClickEvent& e) { clicks.push_back(e); });
    }
    void Push(const SDL_Event& e) { buffer.events[buffer.count++] = e; }
    void Key(SDL_Keycode key) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = key;
        Push(e);
    }
    void Button(bool down, Uint8 button) {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.button = button;
        Push(e);
    }
    void Motion(int x, int y) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = x;
        e.motion.y = y;
        Push(e);
    }
    void Pad(int which, SDL_GameControllerButton b) {
        SDL_Event e{};
        e.type = SDL_CONTROLLERBUTTONDOWN;
        e.cbutton.which = which;
        e.cbutton.button = Uint8(b);
        Push(e);
    }
    void Axis(int which, SDL_GameControllerAxis a, Sint16 v) {
        SDL_Event e{};
        e.type = SDL_CONTROLLERAXISMOTION;
        e.caxis.which = which;
        e.caxis.axis = Uint8(a);
        e.caxis.value = v;
        Push(e);
    }
    // Reads the buffer as one frame of `dt` ms; the state is left for the test to read.
    void Frame(float dt = 16.0f) {
        input.Update(dt);
        buffer.count = 0;
    }
};
}  // namespace

TEST(Input, KeysMapIntoTheFrameAndLastOneFrame) {
    struct Row {
        SDL_Keycode sdl;
        int32_t code;
    };
    const Row rows[] = {{SDLK_UP, KeyCode::Up},         {SDLK_DOWN, KeyCode::Down},
                        {SDLK_LEFT, KeyCode::Left},     {SDLK_RIGHT, KeyCode::Right},
                        {SDLK_RETURN, KeyCode::Return}, {SDLK_KP_ENTER, KeyCode::KeypadEnter},
                        {SDLK_TAB, KeyCode::Tab},       {SDLK_BACKQUOTE, KeyCode::Backquote},
                        {SDLK_ESCAPE, KeyCode::Escape}, {SDLK_a, 'a'}};
    for (const Row& row : rows) {
        Input in;
        EXPECT_FALSE(in.input.IsKeyPressed(row.code));
        in.Key(row.sdl);
        in.Frame();
        EXPECT_TRUE(in.input.IsKeyPressed(row.code)) << row.sdl;
        EXPECT_FALSE(in.input.IsKeyNotPressed(row.code));
        in.Frame();
        EXPECT_FALSE(in.input.IsKeyPressed(row.code)) << row.sdl;
    }
    Input in;
    in.input.IsKeyPressed(KeyCode::Up);
    EXPECT_TRUE(in.input.keys.empty());  // asking about a key does not add it
}

TEST(Input, MouseMotionButtonsAndClicks) {
    Input in;
    in.Motion(100, 50);
    in.Frame();
    in.Motion(110, 45);
    in.Button(true, SDL_BUTTON_LEFT);
    in.Frame();
    MouseState m = in.input.GetMouseState();
    EXPECT_EQ(m.x, 110);
    EXPECT_EQ(m.y, 45);
    EXPECT_EQ(m.dx, 10);
    EXPECT_EQ(m.dy, -5);
    EXPECT_TRUE(m.left);
    in.Frame();
    EXPECT_EQ(in.input.GetMouseState().dx, 0);
    EXPECT_TRUE(in.input.GetMouseState().left);  // held
    in.Button(false, SDL_BUTTON_LEFT);
    in.Frame();
    EXPECT_FALSE(in.input.GetMouseState().left);
    ASSERT_EQ(in.clicks.size(), 1u);
    EXPECT_TRUE(in.clicks[0].left);
    EXPECT_FALSE(in.clicks[0].right);

    in.clicks.clear();
    in.Frame(2000.0f);  // the left click window has passed
    in.Button(true, SDL_BUTTON_RIGHT);
    in.Frame();
    EXPECT_TRUE(in.input.GetMouseState().right);
    EXPECT_FALSE(in.input.GetMouseState().left);
    in.Button(false, SDL_BUTTON_RIGHT);
    in.Frame();
    EXPECT_FALSE(in.input.GetMouseState().right);
    ASSERT_EQ(in.clicks.size(), 1u);
    EXPECT_TRUE(in.clicks[0].right);
    EXPECT_FALSE(in.clicks[0].left);

    // A release long after the press is no click.
    in.clicks.clear();
    in.Button(true, SDL_BUTTON_LEFT);
    in.Frame();
    in.Frame(2000.0f);
    in.Button(false, SDL_BUTTON_LEFT);
    in.Frame();
    EXPECT_TRUE(in.clicks.empty());
}

TEST(Input, QuickTapInOneFrameReadsAsDownForThatFrame) {
    Input in;
    for (Uint8 button : {Uint8(SDL_BUTTON_LEFT), Uint8(SDL_BUTTON_RIGHT)}) {
        in.Button(true, button);
        in.Button(false, button);
        in.Frame();
        const MouseState m = in.input.GetMouseState();
        EXPECT_TRUE(button == SDL_BUTTON_LEFT ? m.left : m.right);
        in.Frame();
        EXPECT_FALSE(in.input.GetMouseState().left);
        EXPECT_FALSE(in.input.GetMouseState().right);
    }
}

TEST(Input, ListenerAddedDuringAClickIsSafeAndHearsTheNextOne) {
    Input in;
    int late = 0;
    in.input.AddClickListener([&](const OnClickEvent&) {
        for (int i = 0; i < 64; ++i) in.input.AddClickListener([&](const OnClickEvent&) { ++late; });
    });
    in.Button(true, SDL_BUTTON_LEFT);
    in.Button(false, SDL_BUTTON_LEFT);
    in.Frame();
    EXPECT_EQ(late, 0);
    EXPECT_EQ(in.clicks.size(), 1u);
    in.Button(true, SDL_BUTTON_LEFT);
    in.Button(false, SDL_BUTTON_LEFT);
    in.Frame();
    EXPECT_EQ(late, 64);
}

TEST(Input, ControllerButtonsDpadAndAxesPerSlot) {
    Input in;
    const std::pair<SDL_GameControllerButton, uint32_t> buttons[] = {
        {SDL_CONTROLLER_BUTTON_A, ControllerButton::A},
        {SDL_CONTROLLER_BUTTON_B, ControllerButton::B},
        {SDL_CONTROLLER_BUTTON_X, ControllerButton::X},
        {SDL_CONTROLLER_BUTTON_Y, ControllerButton::Y},
        {SDL_CONTROLLER_BUTTON_START, ControllerButton::Start}};
    const std::pair<SDL_GameControllerButton, uint32_t> dpad[] = {
        {SDL_CONTROLLER_BUTTON_DPAD_UP, DpadDirection::Up},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, DpadDirection::Down},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, DpadDirection::Left},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, DpadDirection::Right}};
    for (auto [sdl, bit] : buttons) {
        in.Pad(2, sdl);
        in.Frame();
        EXPECT_EQ(in.input.controllers[2].buttons, bit) << sdl;
        EXPECT_EQ(in.input.controllers[0].buttons, 0u);
        in.input.EndFrame();
        EXPECT_EQ(in.input.controllers[2].buttons, 0u);
    }
    for (auto [sdl, bit] : dpad) {
        in.Pad(1, sdl);
        in.Frame();
        EXPECT_EQ(in.input.controllers[1].dpad, bit) << sdl;
        in.input.EndFrame();
    }
    in.Axis(3, SDL_CONTROLLER_AXIS_LEFTX, 32767);
    in.Axis(3, SDL_CONTROLLER_AXIS_LEFTY, -32767);
    in.Axis(3, SDL_CONTROLLER_AXIS_RIGHTX, 16384);
    in.Axis(3, SDL_CONTROLLER_AXIS_RIGHTY, -8192);
    in.Pad(7, SDL_CONTROLLER_BUTTON_A);  // no such slot: ignored
    in.Axis(-1, SDL_CONTROLLER_AXIS_LEFTX, 100);
    in.Frame();
    const float* axes = in.input.controllers[3].axes;
    EXPECT_FLOAT_EQ(axes[0], 1.0f);
    EXPECT_FLOAT_EQ(axes[1], -1.0f);
    EXPECT_NEAR(axes[2], 0.5f, 1e-4f);
    EXPECT_NEAR(axes[3], -0.25f, 1e-4f);
    in.input.EndFrame();
    EXPECT_FLOAT_EQ(axes[0], 1.0f);  // a stick stays where it was left
}
