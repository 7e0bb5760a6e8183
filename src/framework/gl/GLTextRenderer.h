// GLTextRenderer.h - text drawn glyph by glyph through the text shader and one
// dynamic four-vertex buffer.
#pragma once

#include "../core/TextRenderer.h"

namespace Ostrel {

class FileReader;

class GLTextRenderer : public TextRenderer {
public:
    FileReader* fileReader = nullptr;
    float vertices[16] = {};  // one glyph quad: four vertices of x, y, u, v

    GLTextRenderer(Renderer* renderer, FileReader* fileReader);

    void SetBlendMode(int mode) override;
    void Initialize() override;
    void Shutdown() override;
    void Begin(int blendMode) override;
    void DrawText(Font* font, std::string text, const vec2& position, float scale, const vec4& colour) override;
    void End() override;

private:
    void DrawTrueTypeText(Font* font, const std::string& text, const vec2& position, float scale);
    void DrawBitmapText(Font* font, const std::string& text, const vec2& position, float scale);
    void SetVertex(int index, float x, float y, float u, float v);
    void DrawQuad();
};

}  // namespace Ostrel
