// TexturePicker.cpp - picture tiles, the "Select texture" dialog and the
// deferred load of the confirmed file.
#include "TexturePicker.h"

#include <imgui.h>

#include <cstdint>
#include <exception>
#include <iostream>
#include <string>
#include <utility>

namespace Ostrel {

namespace {

constexpr float kTileSize = 64.0f;

}  // namespace

TexturePicker::TexturePicker(ITextureManager* textureManager_) : textureManager(textureManager_), browser(0) {
    browser.SetTitle("Select texture");
    browser.SetTypeFilters({".png", ".jpg"});
}

bool TexturePicker::DrawTile(const std::string& label, ITexture2D* texture) {
    ImGui::TextUnformatted(label.c_str());  // a caption, never a format string
    if (texture == nullptr || texture->handle == nullptr) {
        // Nothing to show: a blank framed button of the tile's footprint, so
        // the tile can still be pressed to choose a picture.
        const ImGuiStyle& style = ImGui::GetStyle();
        ImGui::PushID(label.c_str());
        const bool pressed = ImGui::Button(
            "##empty_tile", ImVec2(kTileSize + style.FramePadding.x * 2.0f, kTileSize + style.FramePadding.y * 2.0f));
        ImGui::PopID();
        return pressed;
    }
    const uint32_t name = *static_cast<const uint32_t*>(texture->handle);
    const ImTextureID id = reinterpret_cast<ImTextureID>(static_cast<intptr_t>(name));
    return ImGui::ImageButton(id, ImVec2(kTileSize, kTileSize), ImVec2(0, 0), ImVec2(1, 1), -1, ImVec4(0, 0, 0, 0),
                              ImVec4(1, 1, 1, 1));
}

void TexturePicker::DrawForKey(std::string label, std::string key_) {
    ITexture2D* texture = textureManager->GetTexture(key_);
    if (DrawTile(label, texture)) {
        mode = 2;
        browser.Open();
        key = std::move(key_);
        callback = nullptr;
        callbackTexture = nullptr;
    }
}

bool TexturePicker::DrawWithCallback(std::string label, ITexture2D* texture,
                                     std::function<void(ITexture2D*)> callback_) {
    if (!DrawTile(label, texture)) return false;
    mode = 1;
    browser.Open();
    callback = std::move(callback_);
    callbackTexture = texture;
    return true;
}

// A callback load is stored under its path. Loading under a key replaces and
// deletes the texture already there, which is right when the requesting slot
// is the one holding it, but another slot given the same picture earlier
// would be left drawing a deleted texture: that picture gets a key of its own.
std::string TexturePicker::KeyForCallbackLoad(const std::string& path) const {
    std::string candidate = path;
    for (int copy = 2;; ++copy) {
        ITexture2D* existing = textureManager->GetTexture(candidate);
        if (existing == nullptr || existing == callbackTexture) return candidate;
        candidate = path + " (" + std::to_string(copy) + ")";
    }
}

void TexturePicker::Display() {
    browser.Display();
}

void TexturePicker::Update() {
    if (!browser.HasSelected()) return;
    if (!callback && key.empty()) return;

    std::string path;
    try {
        path = browser.GetSelected().string();
    } catch (const std::exception& e) {
        // A name the narrow encoding cannot hold would fail again every frame:
        // drop the confirmation and the request instead.
        std::cerr << "TexturePicker: cannot use the chosen file name: " << e.what() << std::endl;
        browser.ClearSelected();
        key.clear();
        callback = nullptr;
        mode = 0;
        return;
    }

    if (!callback) {
        textureManager->LoadTexture(path, key, TextureParameters(0));
        key.clear();
        browser.ClearSelected();
        mode = 0;
        return;
    }
    ITexture2D* texture = textureManager->LoadTexture(path, KeyForCallbackLoad(path), TextureParameters(0));
    callback(texture);
    callbackTexture = texture;  // what that receiver holds now
    browser.ClearSelected();
    mode = 0;
}

}  // namespace Ostrel
