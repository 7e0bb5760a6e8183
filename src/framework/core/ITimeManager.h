// ITimeManager.h - frame pacing and frame time.
#pragma once

namespace Ostrel {

class ITimeManager {
public:
    virtual float GetFPS() = 0;
    virtual void Start() = 0;
    virtual void BeginFrame() = 0;
    virtual void EndFrame() = 0;

    // Length of the previous frame in ms (0 in the first frame) and the running
    // total in seconds that effects animate with.
    virtual float GetDeltaMs() const = 0;
    virtual float GetTotalSeconds() const = 0;

protected:
    ITimeManager() = default;
    ~ITimeManager() = default;
};

}  // namespace Ostrel
