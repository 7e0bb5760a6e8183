// FixedSizeRenderer.h - a Renderer that only holds a size: for code that asks
// its renderer for the target size and never draws through it.
#pragma once

#include "core/Renderer.h"

namespace OstrelTest {

class FixedSizeRenderer : public Ostrel::Renderer {
public:
    FixedSizeRenderer(int width, int height) { SetSize(width, height); }

    int initializeCalls = 0;
    int beginFrameCalls = 0;
    int endFrameCalls = 0;
    int shutdownCalls = 0;

    void Initialize() override { ++initializeCalls; }
    void BeginFrame() override { ++beginFrameCalls; }
    void EndFrame() override { ++endFrameCalls; }
    void Shutdown() override { ++shutdownCalls; }
    void SetImGuiLayer(Ostrel::ImGuiLayer* layer) override { imGuiLayer = layer; }
};

}  // namespace OstrelTest
