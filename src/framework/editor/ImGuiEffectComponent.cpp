// ImGuiEffectComponent.cpp - sliders, normalisation and texture tiles of one
// effect.
#include "ImGuiEffectComponent.h"

#include "../core/ITextureManager.h"
#include "../gl/EffectInstance.h"
#include "../gl/IEffectShader.h"
#include "TexturePicker.h"

#include <imgui.h>

#include <cmath>
#include <iostream>
#include <utility>

namespace Ostrel {

namespace {

// Scales the first `count` components to unit length. A zero vector has no
// direction: it is left as it is rather than filled with NaN.
void Normalize(vec3& value, int count) {
    float squares = value.x * value.x + value.y * value.y;
    if (count == 3) squares += value.z * value.z;
    const float length = std::sqrt(squares);
    if (!(length > 0.0f) || !std::isfinite(length)) return;
    value.x /= length;
    value.y /= length;
    if (count == 3) value.z /= length;
}

// Scoped by the uniform's name so that two flagged vectors in one panel get
// buttons of their own.
bool NormalizeButton(const std::string& uniformName) {
    ImGui::PushID(uniformName.c_str());
    const bool pressed = ImGui::Button("Normalize");
    ImGui::PopID();
    return pressed;
}

}  // namespace

ImGuiEffectComponent::ImGuiEffectComponent(EffectInstance* effect_, TexturePicker* picker_,
                                           ITextureManager* textureManager_)
    : effect(effect_), picker(picker_), textureManager(textureManager_) {
    for (int k = 1; k <= 3; ++k) {
        EffectInstance* target = effect_;
        textureSetters[k - 1] = [target, k](ITexture2D* texture) { target->GetShader()->SetTexture(k, texture); };
    }
}

void ImGuiEffectComponent::Draw(std::string name, std::function<void()> onUse) {
    Draw(std::move(name), std::move(onUse), nullptr);
}

void ImGuiEffectComponent::Draw(std::string name, std::function<void()> onUse,
                                std::map<std::string, bool>* normalizeFlags) {
    if (!ImGui::BeginMenu(name.c_str(), true)) return;
    if (ImGui::Button("Use")) onUse();

    IEffectShader* shader = effect->GetShader();
    for (auto& entry : *shader->GetUniforms()) {
        const std::string& uniformName = entry.first;
        ShaderUniform* uniform = entry.second;
        bool flag = false;
        if (normalizeFlags != nullptr) {
            auto found = normalizeFlags->find(uniformName);
            flag = found != normalizeFlags->end() && found->second;
        }
        vec3& value = uniform->value;
        switch (uniform->type) {
            case Float:
                ImGui::SliderFloat(uniformName.c_str(), &value.x, uniform->min.x, uniform->max.x, "%.3f", 0);
                break;
            case Vec2:
                ImGui::SliderFloat2(uniformName.c_str(), &value.x, uniform->min.x, uniform->max.x, "%.3f", 0);
                if (flag && NormalizeButton(uniformName)) Normalize(value, 2);
                break;
            case Vec3:
                ImGui::SliderFloat3(uniformName.c_str(), &value.x, uniform->min.x, uniform->max.x, "%.3f", 0);
                if (flag && NormalizeButton(uniformName)) Normalize(value, 3);
                break;
            default:
                std::cout << "Ostrel::ImGuiEffectComponent::Draw --- unhandeled type" << std::endl;
                break;
        }
    }

    if (picker != nullptr && textureManager != nullptr)
        for (int k = 1; k <= 3; ++k) DrawTextureSelector(shader->GetTexture(k), textureSetters[k - 1]);
    ImGui::EndMenu();
}

void ImGuiEffectComponent::DrawTextureSelector(ITexture2D* texture, std::function<void(ITexture2D*)> setter) {
    if (texture == nullptr) return;
    std::string key;
    if (textureManager->FindKey(texture, &key)) picker->DrawWithCallback(key, texture, std::move(setter));
}

}  // namespace Ostrel
