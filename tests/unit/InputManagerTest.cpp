// The input manager fed with hand-made SDL events: key table, per-frame keys,
// mouse position and steps, the click window and controllers.
#include "sdl/SDLInputManager.h"

#include <gtest/gtest.h>

#include <vector>

using Ostrel::OnClickEvent;

namespace {

class InputManagerTest : public testing::Test {
protected:
    Ostrel::EventBuffer buffer;
    Ostrel::SDLInputManager input{&buffer};
    std::vector<OnClickEvent> clicks;

    void SetUp() override {
        buffer.count = 0;
        input.AddClickListener([this](const OnClickEvent& e) { clicks.push_back(e); });
    }

    void Push(const SDL_Event& event) {
        ASSERT_LT(buffer.count, Ostrel::EventBuffer::Capacity);
        buffer.events[buffer.count++] = event;
    }
    void Key(SDL_Keycode sym, bool down = true) {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.keysym.sym = sym;
        Push(e);
    }
    void Motion(int x, int y) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = x;
        e.motion.y = y;
        e.motion.xrel = e.motion.yrel = 1000;  // must be ignored
        Push(e);
    }
    void Button(Uint8 button, bool down) {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.button = button;
        Push(e);
    }
    void Tap(Uint8 button) {
        Button(button, true);
        Button(button, false);
    }
    void Pad(SDL_JoystickID which, Uint8 button, bool down = true) {
        SDL_Event e{};
        e.type = down ? SDL_CONTROLLERBUTTONDOWN : SDL_CONTROLLERBUTTONUP;
        e.cbutton.which = which;
        e.cbutton.button = button;
        Push(e);
    }
    void Axis(SDL_JoystickID which, Uint8 axis, Sint16 value) {
        SDL_Event e{};
        e.type = SDL_CONTROLLERAXISMOTION;
        e.caxis.which = which;
        e.caxis.axis = axis;
        e.caxis.value = value;
        Push(e);
    }
    // One frame as the framework runs it: Update reads the buffer; the test
    // looks at the state; EndFrame clears; the buffer is refilled next frame.
    void Frame(float dt = 16.0f) {
        input.Update(dt);
        buffer.count = 0;
    }
    bool Left() { return input.GetMouseState().left; }
    bool Right() { return input.GetMouseState().right; }
};

}  // namespace

TEST_F(InputManagerTest, KeyCodeTable) {
    struct Case {
        SDL_Keycode sdl;
        int code;
    };
    // Space reads as Return; SDLK_HASH (35) shares Tab's code.
    const Case cases[] = {{SDLK_UP, 28},
                          {SDLK_DOWN, 29},
                          {SDLK_LEFT, 30},
                          {SDLK_RIGHT, 31},
                          {SDLK_RETURN, 32},
                          {SDLK_KP_ENTER, 33},
                          {SDLK_BACKQUOTE, 34},
                          {SDLK_TAB, 35},
                          {SDLK_ESCAPE, 27},
                          {SDLK_a, 'a'},
                          {SDLK_F1, SDLK_F1},
                          {SDLK_SPACE, Ostrel::KeyCode::Return},
                          {SDLK_HASH, Ostrel::KeyCode::Tab}};
    for (const Case& c : cases) {
        Key(c.sdl);
        Frame();
        EXPECT_TRUE(input.IsKeyPressed(c.code)) << "SDL key " << c.sdl;
        input.EndFrame();
    }
    // The original codes of the moved keys are not set by them.
    Key(SDLK_RETURN);
    Frame();
    EXPECT_FALSE(input.IsKeyPressed(SDLK_RETURN));
}

TEST_F(InputManagerTest, KeyPressedOnlyInFrameOfPressAndClearedEachFrame) {
    EXPECT_FALSE(input.IsKeyPressed(1234));  // querying an unknown key does not add it
    EXPECT_TRUE(input.IsKeyNotPressed(1234));
    EXPECT_TRUE(input.keys.empty());

    Key(SDLK_ESCAPE, true);
    Key(SDLK_ESCAPE, false);  // press and release in one frame
    Frame();
    EXPECT_TRUE(input.IsKeyPressed(27));
    EXPECT_FALSE(input.IsKeyNotPressed(27));
    input.EndFrame();
    EXPECT_FALSE(input.IsKeyPressed(27));
    Frame();  // no events: still not pressed, and still known
    EXPECT_FALSE(input.IsKeyPressed(27));
    EXPECT_EQ(input.keys.count(27), 1u);

    Key(SDLK_a);
    Frame();
    EXPECT_TRUE(input.IsKeyPressed('a'));
    Frame();  // Update clears even without EndFrame
    EXPECT_FALSE(input.IsKeyPressed('a'));
}

TEST_F(InputManagerTest, MotionStepIsLastEventsStepNotSum) {
    Motion(10, 10);
    Frame();
    // First motion: the step is the absolute position, as the last one starts at 0,0.
    EXPECT_EQ(input.GetMouseState().dx, 10);
    EXPECT_EQ(input.GetMouseState().dy, 10);

    Motion(12, 10);
    Motion(15, 11);
    Frame();
    const Ostrel::MouseState m = input.GetMouseState();
    EXPECT_EQ(m.dx, 3);
    EXPECT_EQ(m.dy, 1);
    EXPECT_EQ(m.x, 15);
    EXPECT_EQ(m.y, 11);

    Frame();  // no motion: step 0, position kept
    EXPECT_EQ(input.GetMouseState().dx, 0);
    EXPECT_EQ(input.GetMouseState().dy, 0);
    EXPECT_EQ(input.GetMouseState().x, 15);
}

TEST_F(InputManagerTest, ButtonDownFlagsPersistUntilRelease) {
    Button(SDL_BUTTON_LEFT, true);
    Button(SDL_BUTTON_RIGHT, true);
    Frame();
    input.EndFrame();
    Frame();
    EXPECT_TRUE(Left());
    EXPECT_TRUE(Right());
    Button(SDL_BUTTON_LEFT, false);
    Frame();
    EXPECT_FALSE(Left());
    EXPECT_TRUE(Right());
}

TEST_F(InputManagerTest, PressAndReleaseInOneFrameIsOneClickOfThatButton) {
    int second = 0;
    input.AddClickListener([&](const OnClickEvent&) { ++second; });
    Tap(SDL_BUTTON_LEFT);
    Frame(500.0f);  // a large dt in the same frame does not matter: the timer is set after it
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_TRUE(clicks[0].left);
    EXPECT_FALSE(clicks[0].right);
    EXPECT_EQ(second, 1);

    Frame(2000.0f);  // close the click window
    Tap(SDL_BUTTON_RIGHT);
    Frame();
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_FALSE(clicks[1].left);
    EXPECT_TRUE(clicks[1].right);
}

TEST_F(InputManagerTest, QuickTapWithinOneFrameShowsTheButtonDownForThatFrame) {
    // Screens read the held state; a tap whose press and release share a frame
    // must still be seen once, and released in the next frame.
    Tap(SDL_BUTTON_LEFT);
    Tap(SDL_BUTTON_RIGHT);
    Frame();
    EXPECT_TRUE(Left());
    EXPECT_TRUE(Right());
    input.EndFrame();
    Frame();
    EXPECT_FALSE(Left());
    EXPECT_FALSE(Right());

    // A press in one frame and its release in the next releases at once.
    Button(SDL_BUTTON_LEFT, true);
    Frame();
    EXPECT_TRUE(Left());
    Button(SDL_BUTTON_LEFT, false);
    Frame();
    EXPECT_FALSE(Left());

    // Tap, then press again in the next frame: the new press holds.
    Tap(SDL_BUTTON_LEFT);
    Frame();
    Button(SDL_BUTTON_LEFT, true);
    Frame();
    EXPECT_TRUE(Left());
}

TEST_F(InputManagerTest, ListenerThatRegistersListenersHearsOnlyLaterClicks) {
    // A click can build a menu, whose root registers its own click listener.
    int heardByAdded = 0;
    input.AddClickListener([&](const OnClickEvent&) {
        // Enough to make the vector move its elements.
        for (int i = 0; i < 16; ++i) input.AddClickListener([&](const OnClickEvent&) { ++heardByAdded; });
    });
    Tap(SDL_BUTTON_LEFT);
    Frame();
    EXPECT_EQ(clicks.size(), 1u);
    EXPECT_EQ(heardByAdded, 0) << "listeners added during a click hear the next one";

    Button(SDL_BUTTON_LEFT, false);  // inside the window: another left click
    Frame();
    EXPECT_EQ(clicks.size(), 2u);
    EXPECT_EQ(heardByAdded, 16);
}

TEST_F(InputManagerTest, ClickWindowIsThousandMillisecondsOfFrameTime) {
    for (float last : {399.0f, 400.0f}) {  // 999 ms after the press is a click; 1000 ms is held too long
        clicks.clear();
        Button(SDL_BUTTON_LEFT, true);
        Frame();
        Frame(600.0f);
        Button(SDL_BUTTON_LEFT, false);
        Frame(last);
        EXPECT_EQ(clicks.size(), last < 400.0f ? 1u : 0u) << "last frame " << last;
    }
}

TEST_F(InputManagerTest, OtherButtonsOnlyClickInsideAnOpenWindow) {
    Tap(SDL_BUTTON_MIDDLE);  // neither presses nor opens a window
    Frame();
    EXPECT_TRUE(clicks.empty());
    EXPECT_FALSE(Left());

    Tap(SDL_BUTTON_LEFT);
    Frame();
    Button(SDL_BUTTON_MIDDLE, false);  // inside the window: another left click
    Frame();
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_TRUE(clicks[1].left);
    EXPECT_FALSE(Right());
}

TEST_F(InputManagerTest, ControllerButtonsAndDpadBitsOnlyInFrameOfPress) {
    for (Uint8 b : {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_Y,
                    SDL_CONTROLLER_BUTTON_START, SDL_CONTROLLER_BUTTON_BACK /* no bit */})
        Pad(0, b);
    Pad(2, SDL_CONTROLLER_BUTTON_DPAD_UP);
    Pad(2, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    Pad(3, SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    Pad(3, SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    Frame();
    EXPECT_EQ(input.controllers[0].buttons, 1u | 2u | 4u | 8u | 16u);
    EXPECT_EQ(input.controllers[0].dpad, 0u);
    EXPECT_EQ(input.controllers[2].dpad, 1u | 2u);
    EXPECT_EQ(input.controllers[3].dpad, 4u | 8u);
    EXPECT_EQ(input.controllers[1].buttons, 0u);
    input.EndFrame();
    for (const Ostrel::ControllerState& c : input.controllers) {
        EXPECT_EQ(c.buttons, 0u);
        EXPECT_EQ(c.dpad, 0u);
    }
    Frame();  // still held, no new event
    EXPECT_EQ(input.controllers[0].buttons, 0u);
    Pad(0, SDL_CONTROLLER_BUTTON_A, false);
    Frame();
    EXPECT_EQ(input.controllers[0].buttons, 0u);
}

TEST_F(InputManagerTest, AxesScaleAndPersist) {
    Axis(0, SDL_CONTROLLER_AXIS_LEFTX, -32768);
    Axis(0, SDL_CONTROLLER_AXIS_LEFTY, 32767);
    Axis(0, SDL_CONTROLLER_AXIS_RIGHTX, 0);
    Axis(0, SDL_CONTROLLER_AXIS_RIGHTY, -16384);
    Axis(0, SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);  // ignored
    Frame();
    input.EndFrame();
    Frame();
    EXPECT_FLOAT_EQ(input.controllers[0].axes[0], -1.0000305f);
    EXPECT_FLOAT_EQ(input.controllers[0].axes[1], 1.0f);
    EXPECT_FLOAT_EQ(input.controllers[0].axes[2], 0.0f);
    EXPECT_FLOAT_EQ(input.controllers[0].axes[3], -16384.0f / 32767.0f);
}

TEST_F(InputManagerTest, ControllerIdsOutsideSlotsAreIgnored) {
    for (SDL_JoystickID id : {4, 17, -1}) {
        Pad(id, SDL_CONTROLLER_BUTTON_A);
        Axis(id, SDL_CONTROLLER_AXIS_LEFTX, 32767);
    }
    Frame();
    for (const Ostrel::ControllerState& c : input.controllers) {
        EXPECT_EQ(c.buttons, 0u);
        EXPECT_EQ(c.axes[0], 0.0f);
    }
}

TEST_F(InputManagerTest, InitOpensNothingWithoutJoysticks) {
    input.Init();
    EXPECT_EQ(input.state, Ostrel::LifecycleInitialised);
    for (const Ostrel::ControllerState& c : input.controllers) EXPECT_FALSE(c.connected);
}
