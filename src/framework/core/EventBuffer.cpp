#include "EventBuffer.h"

namespace Ostrel {

void EventBuffer::PollEvents() {
    // Stop at capacity before polling again, so nothing is taken out of SDL's
    // queue that cannot be stored; the rest arrives next frame.
    int32_t n = 0;
    while (n < Capacity && SDL_PollEvent(&events[n]) != 0) ++n;
    count = n;
}

}  // namespace Ostrel
