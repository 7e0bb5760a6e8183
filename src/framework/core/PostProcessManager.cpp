#include "PostProcessManager.h"

#include "Renderer.h"
#include "../gl/EffectInstance.h"
#include "../gl/IRenderFramebuffer.h"

namespace Ostrel {

PostProcessManager::PostProcessManager(Renderer* renderer_) : renderer(renderer_) {}

void PostProcessManager::Begin(EffectInstance* effect) {
    // Without an effect the scene is drawn straight to the window: binding the
    // offscreen image here would leave it bound, as End has nothing to apply.
    if (effect == nullptr) return;
    currentEffect = effect;
    framebuffer->Bind();
    framebuffer->Clear(renderer->clearColour);
}

void PostProcessManager::End() {
    if (currentEffect == nullptr) return;
    currentEffect->Apply();
    framebuffer->Draw();
    currentEffect = nullptr;
}

}  // namespace Ostrel
