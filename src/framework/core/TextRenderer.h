// TextRenderer.h - one line of text in a TrueType or bitmap font at a window
// position (origin top left, y down), scale and colour. A bitmap line's top
// is at the position; a TrueType line's baseline lies half a scaled font
// height below it.
#pragma once

#include "Math.h"

#include <cstdint>
#include <string>

namespace Ostrel {

class Renderer;
class TextShader;
class IGeometryBuffer;
class ITexture2D;
class Font;

class TextRenderer {
public:
    TextShader* shader = nullptr;
    IGeometryBuffer* geometry = nullptr;
    ITexture2D* boundTexture = nullptr;
    mat4 projection;
    mat4 view;
    int32_t width = 0;
    int32_t height = 0;
    Renderer* renderer = nullptr;

    virtual void SetBlendMode(int mode) = 0;
    virtual void Initialize() = 0;
    virtual void Shutdown() = 0;
    virtual void Begin(int blendMode) = 0;
    virtual void DrawText(Font* font, std::string text, const vec2& position, float scale, const vec4& colour) = 0;
    virtual void End() = 0;

    void Resize(int width, int height);

protected:
    explicit TextRenderer(Renderer* renderer);
    ~TextRenderer() = default;
};

}  // namespace Ostrel
