// RecordingTextRenderer.h - a TextRenderer that draws nothing and keeps every
// call, so a test sees exactly which lines were asked for, where and how.
#pragma once

#include "core/Math.h"
#include "core/TextRenderer.h"

#include <string>
#include <vector>

namespace OstrelTest {

class RecordingTextRenderer : public Ostrel::TextRenderer {
public:
    struct TextCall {
        Ostrel::Font* font = nullptr;
        std::string text;
        Ostrel::vec2 position;
        float scale = 0.0f;
        Ostrel::vec4 colour;
    };

    // The size comes from the renderer, as with the real one.
    explicit RecordingTextRenderer(Ostrel::Renderer* renderer);

    std::vector<TextCall> draws;
    std::vector<int> begins;  // blend mode of each Begin
    int ends = 0;
    int initializeCalls = 0;
    int shutdownCalls = 0;
    // Optional shared journal ("text.Begin(0)", "text.DrawText(...)", "text.End()"),
    // for tests that check the order of calls across several doubles.
    std::vector<std::string>* journal = nullptr;

    void SetBlendMode(int mode) override;
    void Initialize() override;
    void Shutdown() override;
    void Begin(int blendMode) override;
    void DrawText(Ostrel::Font* font, std::string text, const Ostrel::vec2& position, float scale,
                  const Ostrel::vec4& colour) override;
    void End() override;

    void Clear();
    // Draw calls whose text is exactly `text`.
    std::vector<TextCall> DrawsOf(const std::string& text) const;
};

}  // namespace OstrelTest
