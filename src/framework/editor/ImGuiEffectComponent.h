// ImGuiEffectComponent.h - the editor's panel for one post-processing effect:
// a menu with "Use", a slider per tunable uniform, "Normalize" for flagged
// vectors, and picture tiles for the effect's own textures (slots 1 to 3).
// Built on the stack each frame; only what it writes into the effect remains.
#pragma once

#include <functional>
#include <map>
#include <string>

namespace Ostrel {

class EffectInstance;
class ITexture2D;
class ITextureManager;
class TexturePicker;

class ImGuiEffectComponent {
public:
    EffectInstance* effect;           // not owned
    TexturePicker* picker;            // not owned; may be null (no tiles)
    ITextureManager* textureManager;  // not owned; may be null (no tiles)
    // Setter k makes its argument texture k (k = 1, 2, 3) of the effect's shader.
    std::function<void(ITexture2D*)> textureSetters[3];

    ImGuiEffectComponent(EffectInstance* effect, TexturePicker* picker, ITextureManager* textureManager);

    void Draw(std::string name, std::function<void()> onUse);
    void Draw(std::string name, std::function<void()> onUse, std::map<std::string, bool>* normalizeFlags);
    void DrawTextureSelector(ITexture2D* texture, std::function<void(ITexture2D*)> setter);
};

}  // namespace Ostrel
