// Renderer.h - render-target size, clear colour and the per-frame brackets.
#pragma once

#include "Math.h"

#include <cstdint>

namespace Ostrel {

class WindowManager;
class ImGuiLayer;

class Renderer {
public:
    int32_t width = 0;
    int32_t height = 0;
    WindowManager* window = nullptr;
    vec4 clearColour;
    ImGuiLayer* imGuiLayer = nullptr;

    virtual void Initialize() = 0;
    virtual void BeginFrame() = 0;
    virtual void EndFrame() = 0;
    virtual void Shutdown() = 0;
    virtual void SetImGuiLayer(ImGuiLayer* layer) = 0;

    int32_t GetWidth() const { return width; }
    int32_t GetHeight() const { return height; }
    ivec2 GetSize() const { return ivec2(width, height); }
    void SetSize(int w, int h) {
        width = w;
        height = h;
    }

protected:
    Renderer() = default;
    ~Renderer() = default;
};

}  // namespace Ostrel
