// GLESRenderer_3_1.h - the OpenGL ES 3.1 renderer: viewport, clear and the
// ImGui frame brackets.
#pragma once

#include "../core/Renderer.h"

namespace Ostrel {

class WindowManager;

class GLESRenderer_3_1 : public Renderer {
public:
    explicit GLESRenderer_3_1(WindowManager* window);

    void Initialize() override;
    void BeginFrame() override;
    void EndFrame() override;
    void Shutdown() override;
    void SetImGuiLayer(ImGuiLayer* layer) override;
};

}  // namespace Ostrel
