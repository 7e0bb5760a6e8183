#include "SDLTimeManager.h"

#include <SDL.h>

namespace Ostrel {

SDLTimeManager::SDLTimeManager(unsigned int fps)
    : deltaMs(0.0f),
      totalMs(0.0f),
      totalSeconds(0.0f),
      targetFrameMs(1000.0f / static_cast<float>(fps)),
      frameStartTicks(0),
      frameCount(0),
      // 64-bit ticks: the 32-bit counter wraps after 49 days and would turn
      // one frame into a huge delta.
      getTicks([] { return static_cast<uint64_t>(SDL_GetTicks64()); }),
      delay([](uint32_t ms) { SDL_Delay(ms); }) {}

float SDLTimeManager::GetFPS() {
    return 1000.0f / deltaMs;
}

void SDLTimeManager::Start() {
    frameStartTicks = getTicks();
}

void SDLTimeManager::BeginFrame() {
    frameStartTicks = getTicks();
}

void SDLTimeManager::EndFrame() {
    float elapsed = static_cast<float>(getTicks() - frameStartTicks);
    if (targetFrameMs > elapsed) {
        const float wait = targetFrameMs - elapsed;
        delay(static_cast<uint32_t>(wait));
        // The full budget is recorded, not the time actually slept.
        elapsed = targetFrameMs;
    }
    ++frameCount;
    deltaMs = elapsed;
    totalMs += elapsed;
    totalSeconds = totalMs / 1000.0f;
}

}  // namespace Ostrel
