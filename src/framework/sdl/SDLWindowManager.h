// SDLWindowManager.h - the SDL window with its OpenGL ES 3.1 context.
#pragma once

#include "../core/EventBuffer.h"
#include "../core/WindowManager.h"

#include <SDL.h>

namespace Ostrel {

class SDLWindowManager : public WindowManager {
public:
    EventBuffer* events = nullptr;
    SDL_Window* window = nullptr;
    SDL_GLContext glContext = nullptr;

    explicit SDLWindowManager(EventBuffer* events);

    void Resize(int width, int height) override;
    void SetFullscreen() override;
    void Create(WindowSettings settings) override;
    void ProcessEvents() override;
    void SwapBuffers() override;
    void Destroy() override;
};

}  // namespace Ostrel
