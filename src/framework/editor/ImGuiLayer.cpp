#include "ImGuiLayer.h"

#include "../core/EventBuffer.h"

#include <imgui.h>
#include <filesystem>
#include <iostream>
#include <imgui_impl_opengl3.h>
#include <imgui_impl_sdl.h>

namespace Ostrel {

bool ImGuiLayer::Init(SDL_Window* window, SDL_GLContext context, EventBuffer* eventBuffer) {
    events = eventBuffer;
    // Checks the headers we compiled against match the installed library.
    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    // Dear ImGui skips an unreadable layout file without a word; say why the
    // editor layout will not be kept.
    const char* iniFile = ImGui::GetIO().IniFilename;
    std::error_code statusError;
    if (iniFile != nullptr && std::filesystem::is_directory(iniFile, statusError))
        std::cerr << "ImGuiLayer: '" << iniFile << "' is a directory; the editor layout is neither read nor saved"
                  << std::endl;
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
