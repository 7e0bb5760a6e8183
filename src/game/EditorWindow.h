// EditorWindow.h - the in-game "Editor" window: colours, animation speed,
// window resolution, the post-processing choice with one panel per effect,
// and the card pictures. It keeps nothing between frames: every widget edits
// the shared settings, the renderer's clear colour or the window directly.
#pragma once

#include "GameData.h"

#include <functional>

namespace Ostrel {
class ITextureManager;
class Renderer;
class WindowManager;
}  // namespace Ostrel

class EditorWindow {
public:
    EditorWindow(GameData* data, Ostrel::Renderer* renderer, Ostrel::WindowManager* window,
                 Ostrel::ITextureManager* textureManager);

    // Draws the window and the picker's dialog while the editor is visible;
    // call inside the frame's ImGui frame. The callbacks are the panels'
    // "Use" buttons.
    void Draw(const std::function<void()>& onOrderedDitheringUsed, const std::function<void()>& onCrtEffectUsed,
              const std::function<void()>& onScreenEffectUsed);

private:
    void DrawColours();
    void DrawAnimationSpeed();
    void DrawResolutionMenu();
    void DrawPostProcessingMenu(const std::function<void()>& onOrderedDitheringUsed,
                                const std::function<void()>& onCrtEffectUsed,
                                const std::function<void()>& onScreenEffectUsed);
    void DrawTexturesMenu();

    GameData* data;
    Ostrel::Renderer* renderer;
    Ostrel::WindowManager* window;
    Ostrel::ITextureManager* textureManager;
};
