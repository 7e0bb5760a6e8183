// IconLabel.h - a small square icon with a one-line caption to its right. The
// icon's side follows the caption's font height times the scale, so the two
// grow together.
#pragma once

#include "../core/Math.h"

#include <string>

namespace Ostrel {

class SpriteRenderer;
class TextRenderer;
class Font;
class ITexture2D;

class IconLabel {
public:
    SpriteRenderer* spriteRenderer = nullptr;
    TextRenderer* textRenderer = nullptr;
    Font* font = nullptr;
    std::string caption;
    ITexture2D* icon = nullptr;
    vec4 colour{1.0f, 1.0f, 1.0f, 1.0f};
    float scale = 1.0f;
    ivec2 iconOffset;  // moves the icon only, in window pixels
    ivec2 position;    // top left of the label, window pixels, y down

    IconLabel(SpriteRenderer* spriteRenderer, TextRenderer* textRenderer, Font* font, std::string caption,
              ITexture2D* icon, ivec2 position = ivec2(0, 0));

    // Opens and closes its own sprite and text batches: call it outside any
    // other Begin/End of those renderers.
    void Render();
};

}  // namespace Ostrel
