#include "TimerComponent.h"

#include <utility>

namespace Ostrel {

TimerComponent::TimerComponent(std::function<void(TimerComponent*)> callback_, float duration_)
    : callback(std::move(callback_)), fired(false), duration(duration_), elapsed(0.0f), running(true), repeat(false) {}

void TimerComponent::Reset() {
    elapsed = 0.0f;
    fired = false;
}

void TimerComponent::Update(float dt) {
    if (!running) return;
    elapsed += dt;
    if (elapsed > duration) {
        if (!fired) {
            // An empty callback is allowed: the timer still counts as fired.
            if (callback) callback(this);
            fired = true;
        }
        if (repeat) {
            fired = false;
            elapsed = 0.0f;
        }
    }
}

}  // namespace Ostrel
