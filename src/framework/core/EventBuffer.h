// EventBuffer.h - the frame's copy of SDL's event queue. Filled once per frame;
// the window manager, the input manager and the ImGui layer scan it without
// removing anything.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace Ostrel {

struct EventBuffer {
    static constexpr int Capacity = 100;

    SDL_Event events[Capacity];
    int32_t count = 0;

    // Copies pending events, at most Capacity; the rest stay queued in SDL
    // for the next frame.
    void PollEvents();
};

}  // namespace Ostrel
