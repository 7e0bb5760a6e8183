// GLPostProcessManager.h - post-processing on an OpenGL offscreen framebuffer.
#pragma once

#include "../core/PostProcessManager.h"

namespace Ostrel {

class WindowManager;

class GLPostProcessManager : public PostProcessManager {
public:
    GLPostProcessManager(WindowManager* window, Renderer* renderer);
    void Initialize() override;
};

}  // namespace Ostrel
