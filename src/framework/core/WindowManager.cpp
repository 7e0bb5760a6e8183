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
    // Index loop: a listener may add another listener while we iterate.
    for (size_t i = 0; i < resizeListeners.size(); ++i) resizeListeners[i](event);
}

}  // namespace Ostrel
