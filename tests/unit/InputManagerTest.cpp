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
        e.motion.xrel = 1000;  // must be ignored
        e.motion.yrel = 1000;
        Push(e);
    }
    void Button(Uint8 button, bool down) {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.button = button;
        Push(e);
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
    void Frame(float dt) {
        input.Update(dt);
        buffer.count = 0;
    }
};

}  // namespace

TEST_F(InputManagerTest, KeyCodeTable) {
    struct Case {
        SDL_Keycode sdl;
        int code;
    };
    const Case cases[] = {{SDLK_UP, 28},     {SDLK_DOWN, 29},     {SDLK_LEFT, 30},      {SDLK_RIGHT, 31},
                          {SDLK_RETURN, 32}, {SDLK_KP_ENTER, 33}, {SDLK_BACKQUOTE, 34}, {SDLK_TAB, 35},
                          {SDLK_ESCAPE, 27}, {SDLK_a, 'a'},       {SDLK_F1, SDLK_F1}};
    for (const Case& c : cases) {
        Key(c.sdl);
        Frame(16.0f);
        EXPECT_TRUE(input.IsKeyPressed(c.code)) << "SDL key " << c.sdl;
        input.EndFrame();
    }
    // The original codes of the moved keys are not set by them.
    Key(SDLK_RETURN);
    Frame(16.0f);
    EXPECT_FALSE(input.IsKeyPressed(SDLK_RETURN));
    EXPECT_TRUE(input.IsKeyPressed(Ostrel::KeyCode::Return));
}

TEST_F(InputManagerTest, SpaceReadsAsReturnAndSharedCodesCollide) {
    Key(SDLK_SPACE);
    Frame(16.0f);
    EXPECT_TRUE(input.IsKeyPressed(Ostrel::KeyCode::Return));
    input.EndFrame();
    Key(SDLK_HASH);  // SDL code 35, the same number as Tab's
    Frame(16.0f);
    EXPECT_TRUE(input.IsKeyPressed(Ostrel::KeyCode::Tab));
}

TEST_F(InputManagerTest, KeyPressedOnlyInFrameOfPressAndKeyUpNeverClears) {
    Key(SDLK_ESCAPE, true);
    Key(SDLK_ESCAPE, false);
    Frame(16.0f);
    EXPECT_TRUE(input.IsKeyPressed(27));
    EXPECT_FALSE(input.IsKeyNotPressed(27));
    input.EndFrame();
    EXPECT_FALSE(input.IsKeyPressed(27));

    Frame(16.0f);  // no events: still not pressed, and still known
    EXPECT_FALSE(input.IsKeyPressed(27));
    EXPECT_EQ(input.keys.count(27), 1u);
}

TEST_F(InputManagerTest, UpdateClearsKeysEvenWithoutEndFrame) {
    Key(SDLK_a);
    Frame(16.0f);
    EXPECT_TRUE(input.IsKeyPressed('a'));
    Frame(16.0f);
    EXPECT_FALSE(input.IsKeyPressed('a'));
}

TEST_F(InputManagerTest, QueryingUnknownKeyDoesNotAddIt) {
    EXPECT_FALSE(input.IsKeyPressed(1234));
    EXPECT_TRUE(input.IsKeyNotPressed(1234));
    EXPECT_TRUE(input.keys.empty());
}

TEST_F(InputManagerTest, MotionStepIsLastEventsStepNotSum) {
    Motion(10, 10);
    Frame(16.0f);
    // First motion: the step is the absolute position, as the last one starts at 0,0.
    EXPECT_EQ(input.GetMouseState().dx, 10);
    EXPECT_EQ(input.GetMouseState().dy, 10);

    Motion(12, 10);
    Motion(15, 11);
    Frame(16.0f);
    const Ostrel::MouseState m = input.GetMouseState();
    EXPECT_EQ(m.dx, 3);
    EXPECT_EQ(m.dy, 1);
    EXPECT_EQ(m.x, 15);
    EXPECT_EQ(m.y, 11);

    Frame(16.0f);  // no motion: step 0, position kept
    EXPECT_EQ(input.GetMouseState().dx, 0);
    EXPECT_EQ(input.GetMouseState().dy, 0);
    EXPECT_EQ(input.GetMouseState().x, 15);
}

TEST_F(InputManagerTest, ButtonDownFlagsPersistUntilRelease) {
    Button(SDL_BUTTON_LEFT, true);
    Button(SDL_BUTTON_RIGHT, true);
    Frame(16.0f);
    input.EndFrame();
    Frame(16.0f);
    EXPECT_TRUE(input.GetMouseState().left);
    EXPECT_TRUE(input.GetMouseState().right);
    Button(SDL_BUTTON_LEFT, false);
    Frame(16.0f);
    EXPECT_FALSE(input.GetMouseState().left);
    EXPECT_TRUE(input.GetMouseState().right);
}

TEST_F(InputManagerTest, PressAndReleaseInOneFrameIsOneLeftClick) {
    int second = 0;
    input.AddClickListener([&](const OnClickEvent&) { ++second; });
    Button(SDL_BUTTON_LEFT, true);
    Button(SDL_BUTTON_LEFT, false);
    Frame(500.0f);  // a large dt in the same frame does not matter: the timer is set after it
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_TRUE(clicks[0].left);
    EXPECT_FALSE(clicks[0].right);
    EXPECT_EQ(second, 1);
}

TEST_F(InputManagerTest, QuickTapWithinOneFrameShowsTheButtonDownForThatFrame) {
    // Screens read the held state; a tap whose press and release share a frame
    // must still be seen once, and released in the next frame.
    Button(SDL_BUTTON_LEFT, true);
    Button(SDL_BUTTON_LEFT, false);
    Button(SDL_BUTTON_RIGHT, true);
    Button(SDL_BUTTON_RIGHT, false);
    Frame(16.0f);
    EXPECT_TRUE(input.GetMouseState().left);
    EXPECT_TRUE(input.GetMouseState().right);
    input.EndFrame();
    Frame(16.0f);
    EXPECT_FALSE(input.GetMouseState().left);
    EXPECT_FALSE(input.GetMouseState().right);

    // A press in one frame and its release in the next releases at once.
    Button(SDL_BUTTON_LEFT, true);
    Frame(16.0f);
    EXPECT_TRUE(input.GetMouseState().left);
    Button(SDL_BUTTON_LEFT, false);
    Frame(16.0f);
    EXPECT_FALSE(input.GetMouseState().left);

    // Tap, then press again in the next frame: the new press holds.
    Button(SDL_BUTTON_LEFT, true);
    Button(SDL_BUTTON_LEFT, false);
    Frame(16.0f);
    Button(SDL_BUTTON_LEFT, true);
    Frame(16.0f);
    EXPECT_TRUE(input.GetMouseState().left);
}

TEST_F(InputManagerTest, ListenerThatRegistersListenersHearsOnlyLaterClicks) {
    // A click can build a menu, whose root registers its own click listener.
    int added = 0;
    int heardByAdded = 0;
    input.AddClickListener([&](const OnClickEvent&) {
        // Enough to make the vector move its elements.
        for (int i = 0; i < 16; ++i) input.AddClickListener([&](const OnClickEvent&) { ++heardByAdded; });
        added += 16;
    });
    Button(SDL_BUTTON_LEFT, true);
    Button(SDL_BUTTON_LEFT, false);
    Frame(16.0f);
    EXPECT_EQ(clicks.size(), 1u);
    EXPECT_EQ(added, 16);
    EXPECT_EQ(heardByAdded, 0) << "listeners added during a click hear the next one";

    Button(SDL_BUTTON_LEFT, false);  // inside the window: another left click
    Frame(16.0f);
    EXPECT_EQ(clicks.size(), 2u);
    EXPECT_EQ(heardByAdded, 16);
}

TEST_F(InputManagerTest, ClickWindowIsThousandMillisecondsOfFrameTime) {
    Button(SDL_BUTTON_LEFT, true);
    Frame(16.0f);
    Frame(600.0f);
    Button(SDL_BUTTON_LEFT, false);
    Frame(399.0f);  // 999 ms after the press: still a click
    EXPECT_EQ(clicks.size(), 1u);

    clicks.clear();
    Button(SDL_BUTTON_LEFT, true);
    Frame(16.0f);
    Frame(600.0f);
    Button(SDL_BUTTON_LEFT, false);
    Frame(400.0f);  // exactly 1000 ms: held too long
    EXPECT_TRUE(clicks.empty());
}

TEST_F(InputManagerTest, RightClickRaisesRightOnly) {
    Button(SDL_BUTTON_RIGHT, true);
    Button(SDL_BUTTON_RIGHT, false);
    Frame(16.0f);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_FALSE(clicks[0].left);
    EXPECT_TRUE(clicks[0].right);
}

TEST_F(InputManagerTest, ReleaseOfAnotherButtonInsideWindowIsAnotherLeftClick) {
    Button(SDL_BUTTON_LEFT, true);
    Button(SDL_BUTTON_LEFT, false);
    Frame(16.0f);
    Button(SDL_BUTTON_MIDDLE, false);
    Frame(16.0f);
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_TRUE(clicks[1].left);
    EXPECT_FALSE(input.GetMouseState().right);
}

TEST_F(InputManagerTest, OtherButtonsDoNotPressOrOpenWindow) {
    Button(SDL_BUTTON_MIDDLE, true);
    Button(SDL_BUTTON_MIDDLE, false);
    Frame(16.0f);
    EXPECT_TRUE(clicks.empty());
    EXPECT_FALSE(input.GetMouseState().left);
}

TEST_F(InputManagerTest, ControllerButtonsAndDpadBits) {
    Pad(0, SDL_CONTROLLER_BUTTON_A);
    Pad(0, SDL_CONTROLLER_BUTTON_B);
    Pad(0, SDL_CONTROLLER_BUTTON_X);
    Pad(0, SDL_CONTROLLER_BUTTON_Y);
    Pad(0, SDL_CONTROLLER_BUTTON_START);
    Pad(0, SDL_CONTROLLER_BUTTON_BACK);  // no bit
    Pad(2, SDL_CONTROLLER_BUTTON_DPAD_UP);
    Pad(2, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    Pad(3, SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    Pad(3, SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    Frame(16.0f);
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
}

TEST_F(InputManagerTest, HeldControllerButtonShowsOnlyInFrameOfPress) {
    Pad(0, SDL_CONTROLLER_BUTTON_A, true);
    Frame(16.0f);
    EXPECT_EQ(input.controllers[0].buttons, Ostrel::ControllerButton::A);
    input.EndFrame();
    Frame(16.0f);  // still held, no new event
    EXPECT_EQ(input.controllers[0].buttons, 0u);
    Pad(0, SDL_CONTROLLER_BUTTON_A, false);
    Frame(16.0f);
    EXPECT_EQ(input.controllers[0].buttons, 0u);
}

TEST_F(InputManagerTest, AxesScaleAndPersist) {
    Axis(0, SDL_CONTROLLER_AXIS_LEFTX, -32768);
    Axis(0, SDL_CONTROLLER_AXIS_LEFTY, 32767);
    Axis(0, SDL_CONTROLLER_AXIS_RIGHTX, 0);
    Axis(0, SDL_CONTROLLER_AXIS_RIGHTY, -16384);
    Axis(0, SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);  // ignored
    Frame(16.0f);
    input.EndFrame();
    Frame(16.0f);
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
    Frame(16.0f);
    for (const Ostrel::ControllerState& c : input.controllers) {
        EXPECT_EQ(c.buttons, 0u);
        EXPECT_EQ(c.axes[0], 0.0f);
    }
}

TEST_F(InputManagerTest, InitMarksInitialisedAndOpensNothingWithoutJoysticks) {
    input.Init();
    EXPECT_EQ(input.state, Ostrel::LifecycleInitialised);
    for (const Ostrel::ControllerState& c : input.controllers) EXPECT_FALSE(c.connected);
}
