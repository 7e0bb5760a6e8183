// PostProcessManager.h - draws a scene through one full-screen effect:
// Begin(effect) redirects drawing offscreen, End() puts it on the window.
#pragma once

#include "LifecycleState.h"

namespace Ostrel {

class Renderer;
class IRenderFramebuffer;
class EffectInstance;

class PostProcessManager {
public:
    Renderer* renderer = nullptr;
    IRenderFramebuffer* framebuffer = nullptr;
    EffectInstance* currentEffect = nullptr;
    LifecycleState state = LifecycleCreated;

    virtual void Initialize() = 0;

    void Begin(EffectInstance* effect);
    void End();

protected:
    explicit PostProcessManager(Renderer* renderer);
    ~PostProcessManager() = default;
};

}  // namespace Ostrel
