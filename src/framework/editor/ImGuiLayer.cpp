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
    // Dear ImGui would try to read a directory in place of its layout file as
    // a file of absurd size; leave the layout unsaved instead, and say why.
    ImGuiIO& io = ImGui::GetIO();
    std::error_code statusError;
    if (io.IniFilename != nullptr && std::filesystem::is_directory(io.IniFilename, statusError)) {
        std::cerr << "ImGuiLayer: '" << io.IniFilename
                  << "' is a directory; the editor layout is neither read nor saved" << std::endl;
        io.IniFilename = nullptr;
    }
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
