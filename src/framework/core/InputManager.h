// InputManager.h - per-frame keyboard, mouse and controller state.
#pragma once

#include "LifecycleState.h"

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

namespace Ostrel {

namespace KeyCode {
constexpr int32_t Up = 28;
constexpr int32_t Down = 29;
constexpr int32_t Left = 30;
constexpr int32_t Right = 31;
constexpr int32_t Return = 32;
constexpr int32_t KeypadEnter = 33;
constexpr int32_t Backquote = 34;
constexpr int32_t Tab = 35;
constexpr int32_t Escape = 27;
}  // namespace KeyCode

namespace ControllerButton {
constexpr uint32_t X = 1;
constexpr uint32_t Y = 2;
constexpr uint32_t A = 4;
constexpr uint32_t B = 8;
constexpr uint32_t Start = 16;
}  // namespace ControllerButton

namespace DpadDirection {
constexpr uint32_t Up = 1;
constexpr uint32_t Down = 2;
constexpr uint32_t Left = 4;
constexpr uint32_t Right = 8;
}  // namespace DpadDirection

struct MouseState {
    int32_t x = 0;
    int32_t y = 0;
    bool left = false;
    bool right = false;
    int32_t dx = 0;
    int32_t dy = 0;
};

struct ControllerState {
    bool connected = false;
    float axes[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    uint32_t dpad = 0;
    uint32_t buttons = 0;
};

struct OnClickEvent {
    bool left = false;
    bool right = false;
};

class InputManager {
public:
    LifecycleState state = LifecycleCreated;
    std::map<int32_t, bool> keys;
    ControllerState controllers[4];
    std::vector<std::function<void(const OnClickEvent&)>> clickListeners;
    MouseState mouse;
    float clickWindow = 1000.0f;
    float leftClickTimer = 0.0f;
    float rightClickTimer = 0.0f;

    virtual void Init();
    virtual void Update(float dt) = 0;
    virtual void EndFrame();

    bool IsKeyPressed(int key);
    bool IsKeyNotPressed(int key);
    MouseState GetMouseState();
    void AddClickListener(std::function<void(const OnClickEvent&)> listener);

protected:
    // Calls the listeners registered when the click is raised, in order; one
    // that registers another (a menu built from a click) is safe.
    void NotifyClick(const OnClickEvent& click);

    InputManager() = default;
    ~InputManager() = default;
};

}  // namespace Ostrel
