// RecordingSpriteRenderer.h - a SpriteRenderer that draws nothing and keeps
// every call: which texture went into which rectangle, with what tint and turn.
#pragma once

#include "core/Math.h"
#include "core/SpriteRenderer.h"

#include <string>
#include <vector>

namespace OstrelTest {

class RecordingSpriteRenderer : public Ostrel::SpriteRenderer {
public:
    enum class Form { Rect, RectTintRotate, Position };

    struct SpriteCall {
        Form form = Form::Rect;
        Ostrel::ITexture2D* texture = nullptr;
        Ostrel::ivec4 rect;     // Rect and RectTintRotate
        Ostrel::vec2 position;  // Position
        Ostrel::vec4 tint;      // RectTintRotate
        Ostrel::vec3 axis;      // RectTintRotate
        float angle = 0.0f;     // RectTintRotate
    };

    explicit RecordingSpriteRenderer(Ostrel::Renderer* renderer);

    std::vector<SpriteCall> draws;
    std::vector<int> begins;      // blend mode of each Begin
    std::vector<int> blendModes;  // each SetBlendMode
    int ends = 0;
    int initializeCalls = 0;
    int shutdownCalls = 0;
    // Optional shared journal ("sprite.Begin(0)", "sprite.DrawSprite", "sprite.End()").
    std::vector<std::string>* journal = nullptr;

    void SetBlendMode(int mode) override;
    void Initialize() override;
    void Shutdown() override;
    void Begin(int blendMode) override;
    void DrawSprite(Ostrel::ITexture2D* texture, Ostrel::ivec4 rect, Ostrel::vec4 tint, Ostrel::vec3 axis,
                    float angle) override;
    void DrawSprite(Ostrel::ITexture2D* texture, Ostrel::ivec4 rect) override;
    void DrawSprite(Ostrel::ITexture2D* texture, Ostrel::vec2 position) override;
    void End() override;
    using Ostrel::SpriteRenderer::DrawSprite;

    void Clear();

private:
    void Note(const std::string& entry);
};

}  // namespace OstrelTest
