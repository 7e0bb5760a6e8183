#include "GLSpriteRenderer.h"

#include "../core/ITexture2D.h"
#include "GLSpriteShader.h"
#include "GLVao.h"

#include <GL/glew.h>

namespace Ostrel {

namespace {

mat4 SpriteTranslation(const ivec4& rect) {
    return Translate(static_cast<float>(rect.x) + static_cast<float>(rect.z) / 2.0f,
                     static_cast<float>(rect.y) + static_cast<float>(rect.w) / 2.0f, 0.0f);
}

mat4 SpriteScale(const ivec4& rect) {
    return Scale(static_cast<float>(rect.z), static_cast<float>(rect.w), 1.0f);
}

}  // namespace

GLSpriteRenderer::GLSpriteRenderer(Renderer* renderer_, FileReader* fileReader_)
    : SpriteRenderer(renderer_), fileReader(fileReader_) {
    state = LifecycleCreated;
}

void GLSpriteRenderer::SetBlendMode(int mode) {
    if (mode != 0) return;
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
}

void GLSpriteRenderer::Initialize() {
    state = LifecycleInitialised;
    shader = new GLSpriteShader(fileReader);
    shader->Load();

    quad = CreateQuadVao(1.0f);
}

void GLSpriteRenderer::Shutdown() {
    if (shader == nullptr) return;
    shader->Unload();
    delete shader;
    shader = nullptr;
}

void GLSpriteRenderer::Begin(int blendMode) {
    boundTexture = nullptr;
    SetBlendMode(blendMode);
    quad->Bind();
    shader->Use();
    shader->SetProjectionView(&projection, &view);
}

void GLSpriteRenderer::DrawSprite(ITexture2D* texture, ivec4 rect, vec4 tint, vec3 axis, float angle) {
    // A texture key that was never loaded yields null: skip the sprite.
    if (texture == nullptr) return;
    if (texture != boundTexture) {
        boundTexture = texture;
        texture->Bind();
    }
    const mat4 model = SpriteTranslation(rect) * Rotate(angle, axis) * SpriteScale(rect);
    shader->SetTransform(&model);
    shader->SetTint(&tint);
    quad->Draw();
}

void GLSpriteRenderer::DrawSprite(ITexture2D* texture, ivec4 rect) {
    if (texture == nullptr) return;
    if (texture != boundTexture) {
        boundTexture = texture;
        texture->Bind();
    }
    const mat4 model = SpriteTranslation(rect) * SpriteScale(rect);
    const vec4 white(1.0f, 1.0f, 1.0f, 1.0f);
    shader->SetTransform(&model);
    shader->SetTint(&white);
    quad->Draw();
}

void GLSpriteRenderer::DrawSprite(ITexture2D* texture, vec2 position) {
    if (texture == nullptr) return;
    DrawSprite(texture, ivec4(static_cast<int32_t>(position.x), static_cast<int32_t>(position.y),
                              static_cast<int32_t>(texture->width), static_cast<int32_t>(texture->height)));
}

void GLSpriteRenderer::End() {}

}  // namespace Ostrel
