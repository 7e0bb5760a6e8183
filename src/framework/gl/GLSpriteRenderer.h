// GLSpriteRenderer.h - sprites as one indexed unit quad drawn through the
// sprite shader, one draw call per sprite.
#pragma once

#include "../core/SpriteRenderer.h"

namespace Ostrel {

class FileReader;

class GLSpriteRenderer : public SpriteRenderer {
public:
    FileReader* fileReader = nullptr;

    GLSpriteRenderer(Renderer* renderer, FileReader* fileReader);

    using SpriteRenderer::DrawSprite;
    void SetBlendMode(int mode) override;
    void Initialize() override;
    void Shutdown() override;
    void Begin(int blendMode) override;
    void DrawSprite(ITexture2D* texture, ivec4 rect, vec4 tint, vec3 axis, float angle) override;
    void DrawSprite(ITexture2D* texture, ivec4 rect) override;
    void DrawSprite(ITexture2D* texture, vec2 position) override;
    void End() override;
};

}  // namespace Ostrel
