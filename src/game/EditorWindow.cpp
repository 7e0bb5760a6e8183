// EditorWindow.cpp - the widgets of the "Editor" window, top to bottom.
#include "EditorWindow.h"

#include "core/Renderer.h"
#include "core/WindowManager.h"
#include "editor/ImGuiEffectComponent.h"
#include "editor/TexturePicker.h"

#include <imgui.h>

namespace {

struct Resolution {
    const char* label;
    int width;
    int height;
};

constexpr Resolution kResolutions[] = {
    {"800x600", 800, 600},
    {"1280x720", 1280, 720},
    {"1600x900", 1600, 900},
    {"1920x1080", 1920, 1080},
};

}  // namespace

EditorWindow::EditorWindow(GameData* data_, Ostrel::Renderer* renderer_, Ostrel::WindowManager* window_,
                           Ostrel::ITextureManager* textureManager_)
    : data(data_), renderer(renderer_), window(window_), textureManager(textureManager_) {}

void EditorWindow::Draw(const std::function<void()>& onOrderedDitheringUsed,
                        const std::function<void()>& onCrtEffectUsed, const std::function<void()>& onScreenEffectUsed) {
    if (!data->editorVisible) return;
    ImGui::Begin("Editor", nullptr, 0);
    DrawColours();
    DrawAnimationSpeed();
    DrawResolutionMenu();
    DrawPostProcessingMenu(onOrderedDitheringUsed, onCrtEffectUsed, onScreenEffectUsed);
    DrawTexturesMenu();
    ImGui::End();
    if (data->texturePicker != nullptr) data->texturePicker->Display();
}

void EditorWindow::DrawColours() {
    ImGui::ColorEdit3("Clear Color", &renderer->clearColour.x, 0);
    ImGui::ColorEdit3("Menu Color", &data->menuColor.x, 0);
    ImGui::ColorEdit3("Menu Selection Color", &data->menuSelectionColor.x, 0);
}

void EditorWindow::DrawAnimationSpeed() {
    // Shown in hundredths of a radian per millisecond: 0 to 10 spans 0 to 0.1.
    float shown = data->animationSpeed * 100.0f;
    ImGui::SliderFloat("Animation Speed", &shown, 0.0f, 10.0f, "%.3f", 0);
    if (shown != data->animationSpeed * 100.0f) {
        data->animationSpeed = shown / 100.0f;
        if (data->onAnimationSpeedChanged) data->onAnimationSpeedChanged(data->animationSpeed);
    }
}

void EditorWindow::DrawResolutionMenu() {
    if (!ImGui::BeginMenu("Resolution", true)) return;
    for (const Resolution& resolution : kResolutions) {
        if (ImGui::Button(resolution.label)) {
            window->Resize(resolution.width, resolution.height);
            break;
        }
    }
    ImGui::EndMenu();
}

void EditorWindow::DrawPostProcessingMenu(const std::function<void()>& onOrderedDitheringUsed,
                                          const std::function<void()>& onCrtEffectUsed,
                                          const std::function<void()>& onScreenEffectUsed) {
    if (!ImGui::BeginMenu("Post Processing", true)) return;
    if (ImGui::Button("None")) data->postEffect = PostEffect::None;
    // An effect that was never created has no panel.
    if (data->ditherEffect != nullptr) {
        Ostrel::ImGuiEffectComponent dither(data->ditherEffect, nullptr, nullptr);
        dither.Draw("Ordered Dithering", onOrderedDitheringUsed);
    }
    if (data->crtEffect != nullptr) {
        Ostrel::ImGuiEffectComponent crt(data->crtEffect, data->texturePicker, textureManager);
        crt.Draw("CRT Effect", onCrtEffectUsed);
    }
    if (data->gameboyEffect != nullptr) {
        Ostrel::ImGuiEffectComponent gameboy(data->gameboyEffect, data->texturePicker, textureManager);
        gameboy.Draw("Gameboy Screen Effect", onScreenEffectUsed, &data->normalizeFlags);
    }
    ImGui::EndMenu();
}

void EditorWindow::DrawTexturesMenu() {
    if (!ImGui::BeginMenu("Textures", true)) return;
    if (data->texturePicker != nullptr)
        for (const std::string& key : data->textureNames) data->texturePicker->DrawForKey(key, key);
    ImGui::EndMenu();
}
