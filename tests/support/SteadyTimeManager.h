// SteadyTimeManager.h - a time manager whose frame time and rate are set by
// the test; it never sleeps.
#pragma once

#include "core/ITimeManager.h"

namespace OstrelTest {

class SteadyTimeManager : public Ostrel::ITimeManager {
public:
    float deltaMs = 0.0f;
    float fps = 0.0f;
    float totalSeconds = 0.0f;
    int frames = 0;

    SteadyTimeManager() = default;
    virtual ~SteadyTimeManager() = default;

    float GetFPS() override { return fps; }
    void Start() override {}
    void BeginFrame() override {}
    void EndFrame() override;
    float GetDeltaMs() const override { return deltaMs; }
    float GetTotalSeconds() const override { return totalSeconds; }
};

}  // namespace OstrelTest
