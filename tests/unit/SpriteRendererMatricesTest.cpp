// The sprite renderer's projection and view, which need no GL context.
#include "FixedSizeRenderer.h"
#include "core/SpriteRenderer.h"

#include <gtest/gtest.h>

using namespace Ostrel;

namespace {

// Only the base's matrices are under test here; drawing is covered by the GL tests.
class MatrixOnlySpriteRenderer : public SpriteRenderer {
public:
    explicit MatrixOnlySpriteRenderer(Renderer* r) : SpriteRenderer(r) {}
    using SpriteRenderer::DrawSprite;
    vec4 lastTint;
    vec3 lastAxis;
    float lastAngle = -1.0f;
    void SetBlendMode(int) override {}
    void Initialize() override {}
    void Shutdown() override {}
    void Begin(int) override {}
    void DrawSprite(ITexture2D*, ivec4, vec4 tint, vec3 axis, float angle) override {
        lastTint = tint;
        lastAxis = axis;
        lastAngle = angle;
    }
    void DrawSprite(ITexture2D*, ivec4) override {}
    void DrawSprite(ITexture2D*, vec2) override {}
    void End() override {}
};

void ExpectColumns(const mat4& m, std::initializer_list<float> expected) {
    int i = 0;
    for (float v : expected) {
        EXPECT_NEAR(m.m[i], v, 1e-6f) << "element " << i;
        ++i;
    }
}

}  // namespace

TEST(SpriteRendererMatrices, ConstructorTakesRendererSizeAndNarrowDepth) {
    OstrelTest::FixedSizeRenderer renderer(800, 600);
    MatrixOnlySpriteRenderer sprites(&renderer);
    EXPECT_EQ(sprites.width, 800);
    EXPECT_EQ(sprites.height, 600);
    EXPECT_EQ(sprites.boundTexture, nullptr);
    ExpectColumns(sprites.projection, {2.0f / 800, 0, 0, 0, 0, -2.0f / 600, 0, 0, 0, 0, -1, 0, -1, 1, 0, 1});
    ExpectColumns(sprites.view, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -1, 1});
}

TEST(SpriteRendererMatrices, ResizeRebuildsProjectionWithWideDepthAndKeepsView) {
    OstrelTest::FixedSizeRenderer renderer(800, 600);
    MatrixOnlySpriteRenderer sprites(&renderer);
    sprites.Resize(1024, 768);
    EXPECT_EQ(sprites.width, 1024);
    EXPECT_EQ(sprites.height, 768);
    ExpectColumns(sprites.projection, {2.0f / 1024, 0, 0, 0, 0, -2.0f / 768, 0, 0, 0, 0, -0.2f, 0, -1, 1, 0, 1});
    ExpectColumns(sprites.view, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -1, 1});
}

TEST(SpriteRendererMatrices, EmptyResizeKeepsLastUsableProjection) {
    OstrelTest::FixedSizeRenderer renderer(800, 600);
    MatrixOnlySpriteRenderer sprites(&renderer);
    sprites.Resize(640, 480);
    const mat4 before = sprites.projection;
    sprites.Resize(0, 0);  // a minimised window
    for (int i = 0; i < 16; ++i) EXPECT_EQ(sprites.projection.m[i], before.m[i]);
    sprites.Resize(320, 200);
    EXPECT_NEAR(sprites.projection.m[0], 2.0f / 320, 1e-7f);
}

TEST(SpriteRendererMatrices, RotatedOverloadWithoutTintDrawsWhite) {
    OstrelTest::FixedSizeRenderer renderer(800, 600);
    MatrixOnlySpriteRenderer sprites(&renderer);
    sprites.DrawSprite(nullptr, ivec4(1, 2, 3, 4), vec3(0, 1, 0), 0.5f);
    EXPECT_EQ(sprites.lastTint.x, 1.0f);
    EXPECT_EQ(sprites.lastTint.y, 1.0f);
    EXPECT_EQ(sprites.lastTint.z, 1.0f);
    EXPECT_EQ(sprites.lastTint.w, 1.0f);
    EXPECT_EQ(sprites.lastAxis.y, 1.0f);
    EXPECT_EQ(sprites.lastAngle, 0.5f);
}
