// TimerComponent.h - a countdown advanced by the frame's delta time. It calls
// its callback once when the time passes the duration (and again after Reset),
// or on every run-out when repeating.
#pragma once

#include <functional>

namespace Ostrel {

class TimerComponent {
public:
    std::function<void(TimerComponent*)> callback;
    bool fired;
    float duration;  // ms
    float elapsed;   // ms since construction or the last Reset
    bool running;
    bool repeat;

    TimerComponent(std::function<void(TimerComponent*)> callback, float duration);

    void Reset();
    void Update(float dt);
};

}  // namespace Ostrel
