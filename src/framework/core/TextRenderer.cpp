#include "TextRenderer.h"

#include "Renderer.h"

namespace Ostrel {

namespace {
constexpr float kNear = 0.1f;
constexpr float kFar = 1000.0f;
}  // namespace

TextRenderer::TextRenderer(Renderer* renderer_)
    : boundTexture(nullptr),
      view(LookAt(vec3(0.0f, 0.0f, 10.0f), vec3(0.0f, 0.0f, 0.0f), vec3(0.0f, 1.0f, 0.0f))),
      width(renderer_->GetWidth()),
      height(renderer_->GetHeight()),
      renderer(renderer_) {
    projection = Ortho(0.0f, static_cast<float>(width), 0.0f, static_cast<float>(height), kNear, kFar);
}

void TextRenderer::Resize(int width_, int height_) {
    width = width_;
    height = height_;
    // As for sprites: an empty size keeps the last usable projection.
    if (width <= 0 || height <= 0) return;
    projection = Ortho(0.0f, static_cast<float>(width), 0.0f, static_cast<float>(height), kNear, kFar);
}

}  // namespace Ostrel
