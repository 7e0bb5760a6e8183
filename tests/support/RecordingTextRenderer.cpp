#include "RecordingTextRenderer.h"

#include <utility>

namespace OstrelTest {

RecordingTextRenderer::RecordingTextRenderer(Ostrel::Renderer* renderer) : Ostrel::TextRenderer(renderer) {}

void RecordingTextRenderer::SetBlendMode(int mode) {
    if (journal != nullptr) journal->push_back("text.SetBlendMode(" + std::to_string(mode) + ")");
}

void RecordingTextRenderer::Initialize() {
    ++initializeCalls;
}

void RecordingTextRenderer::Shutdown() {
    ++shutdownCalls;
}

void RecordingTextRenderer::Begin(int blendMode) {
    begins.push_back(blendMode);
    if (journal != nullptr) journal->push_back("text.Begin(" + std::to_string(blendMode) + ")");
}

void RecordingTextRenderer::DrawText(Ostrel::Font* font, std::string text, const Ostrel::vec2& position, float scale,
                                     const Ostrel::vec4& colour) {
    if (journal != nullptr) journal->push_back("text.DrawText(" + text + ")");
    draws.push_back(TextCall{font, std::move(text), position, scale, colour});
}

void RecordingTextRenderer::End() {
    ++ends;
    if (journal != nullptr) journal->push_back("text.End()");
}

void RecordingTextRenderer::Clear() {
    draws.clear();
    begins.clear();
    ends = 0;
}

std::vector<RecordingTextRenderer::TextCall> RecordingTextRenderer::DrawsOf(const std::string& text) const {
    std::vector<TextCall> result;
    for (const TextCall& call : draws) {
        if (call.text == text) result.push_back(call);
    }
    return result;
}

}  // namespace OstrelTest
