#include "ImGuiLayer.h"

#include "../core/EventBuffer.h"

#include <imgui.h>
#include <imgui_impl_opengl3.h>
#include <imgui_impl_sdl.h>

namespace Ostrel {

bool ImGuiLayer::Init(SDL_Window* window, SDL_GLContext context, EventBuffer* eventBuffer) {
    events = eventBuffer;
    // Checks the headers we compiled against match the installed library.
    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    ImGui::GetIO();
    ImGui::StyleColorsDark();
    ImGui_ImplSDL2_InitForOpenGL(window, context);
    return ImGui_ImplOpenGL3_Init("#version 300 es");
}

void ImGuiLayer::ProcessEvents() {
    if (events == nullptr) return;
    for (int i = 0; i < events->count; ++i) ImGui_ImplSDL2_ProcessEvent(&events->events[i]);
}

void ImGuiLayer::BeginFrame() {
    ImGui_ImplOpenGL3_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    ImGui::NewFrame();
}

void ImGuiLayer::EndFrame() {
    ImGui::Render();
    ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
}

void ImGuiLayer::Shutdown() {
    ImGui_ImplOpenGL3_Shutdown();
    ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext();
}

}  // namespace Ostrel
