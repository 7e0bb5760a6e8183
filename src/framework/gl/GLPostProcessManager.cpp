#include "GLPostProcessManager.h"

#include "GLRenderFrameBuffer.h"

namespace Ostrel {

GLPostProcessManager::GLPostProcessManager(WindowManager* window, Renderer* renderer_) : PostProcessManager(renderer_) {
    framebuffer = new GLRenderFrameBuffer(window, renderer_);
}

void GLPostProcessManager::Initialize() {
    if (state == LifecycleInitialised) return;
    framebuffer->Initialize();
    state = LifecycleInitialised;
}

}  // namespace Ostrel
