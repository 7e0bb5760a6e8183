// ImGuiLayer.h - binds Dear ImGui (SDL2 platform and OpenGL3 renderer back
// ends) to the framework's frame: events in, frame start, draw at frame end.
#pragma once

#include <SDL.h>

namespace Ostrel {

struct EventBuffer;

class ImGuiLayer {
public:
    EventBuffer* events = nullptr;

    bool Init(SDL_Window* window, SDL_GLContext context, EventBuffer* events);
    void ProcessEvents();
    void BeginFrame();
    void EndFrame();
    void Shutdown();
};

}  // namespace Ostrel
