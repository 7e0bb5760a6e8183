#include "SpriteRenderer.h"

#include "Renderer.h"

namespace Ostrel {

SpriteRenderer::SpriteRenderer(Renderer* renderer_) : renderer(renderer_) {
    boundTexture = nullptr;
    width = renderer->GetWidth();
    height = renderer->GetHeight();
    // Window pixels, origin top left, y down.
    projection = Ortho(0.0f, static_cast<float>(width), static_cast<float>(height), 0.0f, -1.0f, 1.0f);
    view = LookAt(vec3(0.0f, 0.0f, 1.0f), vec3(0.0f, 0.0f, 0.0f), vec3(0.0f, 1.0f, 0.0f));
}

void SpriteRenderer::DrawSprite(ITexture2D* texture, ivec4 rect, vec3 axis, float angle) {
    DrawSprite(texture, rect, vec4(1.0f, 1.0f, 1.0f, 1.0f), axis, angle);
}

void SpriteRenderer::Resize(int width_, int height_) {
    width = width_;
    height = height_;
    // A minimised window may report an empty size; keep the last usable
    // projection rather than dividing by zero.
    if (width <= 0 || height <= 0) return;
    projection = Ortho(0.0f, static_cast<float>(width), static_cast<float>(height), 0.0f, -5.0f, 5.0f);
}

}  // namespace Ostrel
