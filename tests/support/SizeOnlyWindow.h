// SizeOnlyWindow.h - a window manager without a window, for GL tests and
// benchmarks that bring their own context: it holds the size a renderer starts
// from and tells resizes to every listener as the SDL window manager does.
#pragma once

#include "core/WindowManager.h"

namespace OstrelTest {

class SizeOnlyWindow final : public Ostrel::WindowManager {
public:
    SizeOnlyWindow(int width = 800, int height = 600) {
        settings.width = width;
        settings.height = height;
    }
    void Resize(int width, int height) override {
        settings.width = width;
        settings.height = height;
        Ostrel::WindowResizedEvent event{width, height};
        NotifyWindowResized(&event);
    }
    void SetFullscreen() override {}
    void Create(Ostrel::WindowSettings) override {}
    void ProcessEvents() override {}
    void SwapBuffers() override {}
    void Destroy() override {}
};

}  // namespace OstrelTest
