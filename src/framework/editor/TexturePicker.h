// TexturePicker.h - editor tiles that replace a texture with a picture chosen
// from disk, either under a texture key or handed to a callback.
#pragma once

#include "../core/ITexture2D.h"
#include "../core/ITextureManager.h"
#include "FileBrowser.h"

#include <cstdint>
#include <functional>
#include <string>

namespace Ostrel {

class TexturePicker {
public:
    explicit TexturePicker(ITextureManager* textureManager);

    // Tile for the texture stored under key; pressing it asks to replace that key.
    void DrawForKey(std::string label, std::string key);
    // Tile for texture; pressing it asks for a new texture for callback.
    bool DrawWithCallback(std::string label, ITexture2D* texture, std::function<void(ITexture2D*)> callback);
    // Draws the dialog while it is open.
    void Display();
    // Applies a confirmed choice; called once per frame in the update step.
    void Update();

    // Request state, for the editor and for tests.
    uint32_t GetMode() const { return mode; }
    const std::string& GetKey() const { return key; }
    bool HasCallback() const { return static_cast<bool>(callback); }
    FileBrowser& GetBrowser() { return browser; }

private:
    bool DrawTile(const std::string& label, ITexture2D* texture);
    std::string KeyForCallbackLoad(const std::string& path) const;

    ITextureManager* textureManager;
    FileBrowser browser;
    uint32_t mode = 0;
    std::string key;
    std::function<void(ITexture2D*)> callback;
    // What the pressed callback tile showed: the texture its receiver holds.
    ITexture2D* callbackTexture = nullptr;
};

}  // namespace Ostrel
