#include "GLTextRenderer.h"

#include "../core/ITexture2D.h"
#include "Font.h"
#include "GLTextShader.h"
#include "GLVao.h"

#include <GL/glew.h>

namespace Ostrel {

namespace {
constexpr int kQuadBytes = 16 * sizeof(float);
}  // namespace

GLTextRenderer::GLTextRenderer(Renderer* renderer_, FileReader* fileReader_)
    : TextRenderer(renderer_), fileReader(fileReader_) {}

void GLTextRenderer::SetBlendMode(int mode) {
    if (mode != 0) return;
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
}

void GLTextRenderer::Initialize() {
    shader = new GLTextShader(fileReader);
    shader->Load();

    InterleavedBufferDescription description;
    description.size = kQuadBytes;
    description.data = vertices;
    description.usage = GL_DYNAMIC_DRAW;
    description.layouts = {{0, 2, GL_FLOAT, 0}, {1, 2, GL_FLOAT, 8}};
    geometry = new GLVao(description);
}

// The buffer is never drawn again after shutdown, so it goes with the shader.
void GLTextRenderer::Shutdown() {
    if (shader != nullptr) {
        shader->Unload();
        delete shader;
        shader = nullptr;
    }
    if (geometry != nullptr) {
        auto* vao = static_cast<GLVao*>(geometry);
        vao->Destroy();
        delete vao;
        geometry = nullptr;
    }
}

void GLTextRenderer::Begin(int blendMode) {
    boundTexture = nullptr;
    if (shader == nullptr || geometry == nullptr) return;  // not initialised, or shut down
    SetBlendMode(blendMode);
    geometry->Bind();
    shader->Use();
    shader->SetProjectionView(&projection, &view);
}

void GLTextRenderer::DrawText(Font* font, std::string text, const vec2& position, float scale, const vec4& colour) {
    if (shader == nullptr || geometry == nullptr) return;
    shader->SetColor(&colour);
    const mat4 identity = mat4::Identity();
    shader->SetTransform(&identity);
    if (font == nullptr) return;
    if (font->type == TrueType) {
        DrawTrueTypeText(font, text, position, scale);
    } else if (font->type == Bitmap) {
        DrawBitmapText(font, text, position, scale);
    }
}

void GLTextRenderer::End() {}

void GLTextRenderer::DrawTrueTypeText(Font* font, const std::string& text, const vec2& position, float scale) {
    float penX = position.x;
    float penY = static_cast<float>(height) - position.y;
    // The baseline sits half a scaled font height below the given position.
    const float half =
        static_cast<float>(static_cast<double>(static_cast<uint32_t>(font->height)) * 0.5 * static_cast<double>(scale));
    for (const char byte : text) {
        const Character* glyph = font->GetCharacter(byte);
        const float left = penX + static_cast<float>(glyph->bearing.x) * scale;
        const float top = penY + static_cast<float>(glyph->bearing.y) * scale - half;
        const float w = static_cast<float>(glyph->size.x) * scale;
        const float h = static_cast<float>(glyph->size.y) * scale;
        SetVertex(0, left, top, 0.0f, 0.0f);
        SetVertex(1, left + w, top, 1.0f, 0.0f);
        SetVertex(2, left, top - h, 0.0f, 1.0f);
        SetVertex(3, left + w, top - h, 1.0f, 1.0f);
        if (glyph->texture != nullptr && glyph->texture != boundTexture) {
            boundTexture = glyph->texture;
            boundTexture->Bind();
        }
        DrawQuad();
        // Advances are 26.6 fixed point: whole pixels only, then scaled.
        penX += static_cast<float>(static_cast<int32_t>(glyph->advance[0]) >> 6) * scale;
        penY += static_cast<float>(static_cast<int32_t>(glyph->advance[1]) >> 6) * scale;
    }
}

void GLTextRenderer::DrawBitmapText(Font* font, const std::string& text, const vec2& position, float scale) {
    if (font->atlas != boundTexture) {
        boundTexture = font->atlas;
        if (boundTexture != nullptr) boundTexture->Bind();
    }
    float penX = position.x;
    const float top = static_cast<float>(height) - position.y;
    const float lineHeight = static_cast<float>(static_cast<uint32_t>(font->height)) * scale;
    for (const char byte : text) {
        const Character* glyph = font->GetCharacter(byte);
        const float bottom = top - lineHeight;
        const float w = static_cast<float>(glyph->size.x) * scale;
        const float h = static_cast<float>(glyph->size.y) * scale;
        SetVertex(0, penX, bottom, glyph->uv[0].x, glyph->uv[0].y);
        SetVertex(1, penX + w, bottom, glyph->uv[1].x, glyph->uv[1].y);
        SetVertex(2, penX, bottom + h, glyph->uv[2].x, glyph->uv[2].y);
        SetVertex(3, penX + w, bottom + h, glyph->uv[3].x, glyph->uv[3].y);
        DrawQuad();
        penX += static_cast<float>(static_cast<int32_t>(glyph->advance[0])) * scale;
    }
}

void GLTextRenderer::SetVertex(int index, float x, float y, float u, float v) {
    float* vertex = &vertices[index * 4];
    vertex[0] = x;
    vertex[1] = y;
    vertex[2] = u;
    vertex[3] = v;
}

// One upload and one draw per glyph, through the single four-vertex buffer.
void GLTextRenderer::DrawQuad() {
    geometry->BindBuffer(0);
    geometry->UpdateBuffer(vertices, kQuadBytes);
    geometry->Draw();
}

}  // namespace Ostrel
