#include "Card.h"

#include "core/ITextureManager.h"
#include "core/SoundManager.h"
#include "core/SpriteRenderer.h"

namespace {

const Ostrel::vec3 FlipAxis(0.0f, 1.0f, 0.0f);

}  // namespace

// The texture is looked up on every draw so a picture replaced under its key
// in the editor shows at once. A key with no texture draws nothing.
void Card::Render(Ostrel::SpriteRenderer* renderer) {
    if (textureManager == nullptr) return;
    Ostrel::ITexture2D* texture = textureManager->GetTexture(VisibleTexture());
    if (texture == nullptr) return;
    renderer->DrawSprite(texture, Rect(), FlipAxis, flipAngle);
}

void Card::RenderTinted(Ostrel::SpriteRenderer* renderer, Ostrel::vec4 tint) {
    if (textureManager == nullptr) return;
    Ostrel::ITexture2D* texture = textureManager->GetTexture(VisibleTexture());
    if (texture == nullptr) return;
    renderer->DrawSprite(texture, Rect(), tint, FlipAxis, flipAngle);
}

// Neither turn resets the angle: a turn during a running flip continues from
// where the sprite is.
void Card::Reveal() {
    if (!faceDown) return;
    faceDown = false;
    flipping = true;
    // A sound that failed to load turns the card silently.
    if (sound != nullptr) sound->Play();
}

void Card::Hide() {
    if (faceDown) return;
    faceDown = true;
    flipping = true;
}

void Card::LoadSound() {
    faceDown = false;
    matched = false;
    flipAngle = 0.0f;
    flipping = false;
    sound = soundManager != nullptr ? soundManager->GetSound("card_sound") : nullptr;
}

void Card::UpdateFlip(float dtMs) {
    if (!flipping) return;
    flipAngle = flipAngle + dtMs * flipSpeed;
    // Also ends a flip that can never pass the half turn (a zero, negative or
    // broken speed), so a card never stays stuck turning.
    if (flipAngle > HalfTurn || !(flipAngle >= 0.0f) || !(flipSpeed > 0.0f)) {
        flipAngle = 0.0f;
        flipping = false;
    }
}
