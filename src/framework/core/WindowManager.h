// WindowManager.h - window settings, window events and the abstract window manager.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace Ostrel {

struct WindowSettings {
    std::string title;
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
    bool centred;
    bool fullscreen;
    bool resizable;  // players may resize the window by default

    WindowSettings();
};

struct WindowResizedEvent {
    int32_t width = 0;
    int32_t height = 0;
};

struct WindowCloseClickedEvent {
    bool handled = false;  // a handler that sets it vetoes the close
};

class WindowManager {
public:
    WindowSettings settings;
    std::vector<std::function<void(WindowResizedEvent*)>> resizeListeners;
    bool closeRequested = false;
    std::function<void(WindowCloseClickedEvent*)> closeHandler;

    virtual void Resize(int width, int height) = 0;
    virtual void SetFullscreen() = 0;
    virtual void Create(WindowSettings settings) = 0;
    virtual void ProcessEvents() = 0;
    virtual void SwapBuffers() = 0;
    virtual void Destroy() = 0;

    void AddWindowResizedListener(std::function<void(WindowResizedEvent*)> listener);
    void NotifyWindowResized(WindowResizedEvent* event);

protected:
    WindowManager() = default;
    ~WindowManager() = default;
};

}  // namespace Ostrel
