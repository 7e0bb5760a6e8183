#include "InputManager.h"

#include <utility>

namespace Ostrel {

void InputManager::Init() {
    state = LifecycleInitialised;
}

void InputManager::EndFrame() {
    for (ControllerState& controller : controllers) {
        controller.dpad = 0;
        controller.buttons = 0;
    }
    for (auto& key : keys) key.second = false;
}

bool InputManager::IsKeyPressed(int key) {
    // find, not operator[]: asking about a key must not add it.
    auto it = keys.find(key);
    return it != keys.end() && it->second;
}

bool InputManager::IsKeyNotPressed(int key) {
    return !IsKeyPressed(key);
}

MouseState InputManager::GetMouseState() {
    return mouse;
}

void InputManager::AddClickListener(std::function<void(const OnClickEvent&)> listener) {
    clickListeners.push_back(std::move(listener));
}

void InputManager::NotifyClick(const OnClickEvent& click) {
    const size_t count = clickListeners.size();
    for (size_t i = 0; i < count; ++i) {
        // A copy: adding a listener may move the vector's elements.
        const std::function<void(const OnClickEvent&)> listener = clickListeners[i];
        listener(click);
    }
}

}  // namespace Ostrel
