// SpriteRenderer.h - textured, tinted, optionally rotated rectangles in window
// pixels (origin top left, y down).
#pragma once

#include "LifecycleState.h"
#include "Math.h"

#include <cstdint>

namespace Ostrel {

class Renderer;
class SpriteShader;
class IGeometryBuffer;
class ITexture2D;

class SpriteRenderer {
public:
    LifecycleState state = LifecycleCreated;
    Renderer* renderer = nullptr;
    SpriteShader* shader = nullptr;
    IGeometryBuffer* quad = nullptr;
    ITexture2D* boundTexture = nullptr;
    mat4 projection;
    mat4 view;
    int32_t width = 0;
    int32_t height = 0;

    virtual void SetBlendMode(int mode) = 0;
    virtual void Initialize() = 0;
    virtual void Shutdown() = 0;
    virtual void Begin(int blendMode) = 0;
    virtual void DrawSprite(ITexture2D* texture, ivec4 rect, vec4 tint, vec3 axis, float angle) = 0;
    virtual void DrawSprite(ITexture2D* texture, ivec4 rect) = 0;
    virtual void DrawSprite(ITexture2D* texture, vec2 position) = 0;
    virtual void End() = 0;

    void DrawSprite(ITexture2D* texture, ivec4 rect, vec3 axis, float angle);
    void Resize(int width, int height);

protected:
    explicit SpriteRenderer(Renderer* renderer);
    ~SpriteRenderer() = default;
};

}  // namespace Ostrel
