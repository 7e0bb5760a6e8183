// SDLTimeManager.h - caps the frame rate by sleeping out a fixed frame budget.
#pragma once

#include "../core/ITimeManager.h"

#include <cstdint>
#include <functional>

namespace Ostrel {

class SDLTimeManager : public ITimeManager {
public:
    float deltaMs = 0.0f;
    float totalMs = 0.0f;
    float totalSeconds = 0.0f;
    float targetFrameMs = 0.0f;
    uint64_t frameStartTicks = 0;
    uint64_t frameCount = 0;

    // Seams for tests: the tick source and the sleep default to SDL_GetTicks
    // and SDL_Delay.
    std::function<uint64_t()> getTicks;
    std::function<void(uint32_t)> delay;

    explicit SDLTimeManager(unsigned int fps);

    float GetFPS() override;
    void Start() override;
    void BeginFrame() override;
    void EndFrame() override;
    float GetDeltaMs() const override { return deltaMs; }
    float GetTotalSeconds() const override { return totalSeconds; }
};

}  // namespace Ostrel
