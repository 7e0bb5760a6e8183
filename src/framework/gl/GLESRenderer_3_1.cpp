#include "GLESRenderer_3_1.h"

#include "../core/WindowManager.h"
#include "../editor/ImGuiLayer.h"

#include <GL/glew.h>

namespace Ostrel {

GLESRenderer_3_1::GLESRenderer_3_1(WindowManager* window_) {
    window = window_;
    width = window->settings.width;
    height = window->settings.height;
    clearColour = vec4(1.0f, 0.71f, 0.76f, 1.0f);
    imGuiLayer = nullptr;
    window->AddWindowResizedListener([this](WindowResizedEvent* event) {
        width = event->width;
        height = event->height;
    });
}

void GLESRenderer_3_1::Initialize() {}

void GLESRenderer_3_1::BeginFrame() {
    if (imGuiLayer != nullptr) imGuiLayer->BeginFrame();
    glViewport(0, 0, width, height);
    glClearColor(clearColour.x, clearColour.y, clearColour.z, clearColour.w);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void GLESRenderer_3_1::EndFrame() {
    if (imGuiLayer != nullptr) imGuiLayer->EndFrame();
}

void GLESRenderer_3_1::Shutdown() {}

void GLESRenderer_3_1::SetImGuiLayer(ImGuiLayer* layer) {
    imGuiLayer = layer;
}

}  // namespace Ostrel
