#include "RecordingSpriteRenderer.h"

namespace OstrelTest {

RecordingSpriteRenderer::RecordingSpriteRenderer(Ostrel::Renderer* renderer) : Ostrel::SpriteRenderer(renderer) {}

void RecordingSpriteRenderer::Note(const std::string& entry) {
    if (journal != nullptr) journal->push_back(entry);
}

void RecordingSpriteRenderer::SetBlendMode(int mode) {
    blendModes.push_back(mode);
    Note("sprite.SetBlendMode(" + std::to_string(mode) + ")");
}

void RecordingSpriteRenderer::Initialize() {
    ++initializeCalls;
}

void RecordingSpriteRenderer::Shutdown() {
    ++shutdownCalls;
}

void RecordingSpriteRenderer::Begin(int blendMode) {
    begins.push_back(blendMode);
    Note("sprite.Begin(" + std::to_string(blendMode) + ")");
}

void RecordingSpriteRenderer::DrawSprite(Ostrel::ITexture2D* texture, Ostrel::ivec4 rect, Ostrel::vec4 tint,
                                         Ostrel::vec3 axis, float angle) {
    SpriteCall call;
    call.form = Form::RectTintRotate;
    call.texture = texture;
    call.rect = rect;
    call.tint = tint;
    call.axis = axis;
    call.angle = angle;
    draws.push_back(call);
    Note("sprite.DrawSprite");
}

void RecordingSpriteRenderer::DrawSprite(Ostrel::ITexture2D* texture, Ostrel::ivec4 rect) {
    SpriteCall call;
    call.form = Form::Rect;
    call.texture = texture;
    call.rect = rect;
    draws.push_back(call);
    Note("sprite.DrawSprite");
}

void RecordingSpriteRenderer::DrawSprite(Ostrel::ITexture2D* texture, Ostrel::vec2 position) {
    SpriteCall call;
    call.form = Form::Position;
    call.texture = texture;
    call.position = position;
    draws.push_back(call);
    Note("sprite.DrawSprite");
}

void RecordingSpriteRenderer::End() {
    ++ends;
    Note("sprite.End()");
}

void RecordingSpriteRenderer::Clear() {
    draws.clear();
    begins.clear();
    blendModes.clear();
    ends = 0;
}

}  // namespace OstrelTest
