// Card.h - one card of a deal: which picture it shows, where it lies, whether
// it is face down or matched, and its own flip animation.
#pragma once

#include "core/Math.h"

#include <cstdint>
#include <string>

namespace Ostrel {
class ITextureManager;
class SoundManager;
class SpriteRenderer;
struct Sound;
}  // namespace Ostrel

class Card {
public:
    // A flip ends once the angle passes this half turn.
    static constexpr float HalfTurn = 3.141592f;

    float flipAngle = 0.0f;
    bool flipping = false;
    Ostrel::Sound* sound = nullptr;
    Ostrel::ITextureManager* textureManager = nullptr;
    Ostrel::SoundManager* soundManager = nullptr;
    int32_t x = 0;
    int32_t y = 0;
    int32_t w = 0;
    int32_t h = 0;
    std::string frontTexture;
    std::string backTexture;
    float flipSpeed = 0.04f;
    int32_t pairId = -1;
    bool faceDown = false;
    bool matched = false;

    Card() = default;

    void Render(Ostrel::SpriteRenderer* renderer);
    void RenderTinted(Ostrel::SpriteRenderer* renderer, Ostrel::vec4 tint);
    void Reveal();
    void Hide();
    void LoadSound();
    void UpdateFlip(float dtMs);

    Ostrel::ivec4 Rect() const { return Ostrel::ivec4(x, y, w, h); }
    bool Contains(int32_t px, int32_t py) const { return x <= px && px < x + w && y <= py && py < y + h; }
    // The key drawn now: the back while face down, else the picture.
    const std::string& VisibleTexture() const { return faceDown ? backTexture : frontTexture; }
};
