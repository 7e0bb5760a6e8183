// IconLabel.cpp - icon and caption, each in its own batch.
#include "IconLabel.h"

#include "../core/SpriteRenderer.h"
#include "../core/TextRenderer.h"
#include "../gl/Font.h"

#include <algorithm>
#include <utility>

namespace Ostrel {

namespace {
// Space between the icon and the caption, in window pixels (not scaled).
constexpr float CaptionGap = 5.0f;
constexpr float MaxSide = 1 << 24;
}  // namespace

IconLabel::IconLabel(SpriteRenderer* spriteRenderer_, TextRenderer* textRenderer_, Font* font_, std::string caption_,
                     ITexture2D* icon_, ivec2 position_)
    : spriteRenderer(spriteRenderer_),
      textRenderer(textRenderer_),
      font(font_),
      caption(std::move(caption_)),
      icon(icon_),
      position(position_) {}

void IconLabel::Render() {
    // No font measures 0; an absurd height from a font description is clamped
    // before it becomes a pixel size.
    const float side = font != nullptr ? static_cast<float>(font->GetHeight()) * scale : 0.0f;
    const int32_t iconSide = static_cast<int32_t>(std::max(-MaxSide, std::min(side, MaxSide)));

    spriteRenderer->Begin(0);
    spriteRenderer->DrawSprite(icon, ivec4(position.x + iconOffset.x, position.y + iconOffset.y, iconSide, iconSide));
    spriteRenderer->End();

    // The caption follows the untruncated side and ignores the icon offset.
    textRenderer->Begin(0);
    textRenderer->DrawText(font, caption,
                           vec2(static_cast<float>(position.x) + side + CaptionGap, static_cast<float>(position.y)),
                           scale, colour);
    textRenderer->End();
}

}  // namespace Ostrel
