#include "WindowManager.h"

#include <utility>

namespace Ostrel {

WindowSettings::WindowSettings()
    : title("Ostrel Framework"),
      x(0),
      y(0),
      width(800),
      height(600),
      centred(true),
      fullscreen(false),
      resizable(true) {}

void WindowManager::AddWindowResizedListener(std::function<void(WindowResizedEvent*)> listener) {
    resizeListeners.push_back(std::move(listener));
}

void WindowManager::NotifyWindowResized(WindowResizedEvent* event) {
    // A listener may add another one while we iterate: call a copy (the
    // vector may move its elements) and only the listeners present now, so
    // one added here hears from the next resize on.
    const size_t count = resizeListeners.size();
    for (size_t i = 0; i < count; ++i) {
        const std::function<void(WindowResizedEvent*)> listener = resizeListeners[i];
        listener(event);
    }
}

}  // namespace Ostrel
