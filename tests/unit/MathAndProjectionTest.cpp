// Matrix builders and the sprite and text renderers' projections.
#include "UnitDoubles.h"
#include "core/Math.h"
#include <gtest/gtest.h>
#include <cmath>

using namespace Ostrel;

namespace {
vec4 Apply(const mat4& m, vec4 p) {
    vec4 r;
    for (int row = 0; row < 4; ++row)
        r.data()[row] = m(row, 0) * p.x + m(row, 1) * p.y + m(row, 2) * p.z + m(row, 3) * p.w;
    return r;
}
void ExpectColumns(const mat4& m, std::initializer_list<float> expected) {
    int i = 0;
    for (float v : expected) {
        EXPECT_NEAR(m.m[i], v, 1e-6f) << "element " << i;
        ++i;
    }
}
}  // namespace

TEST(Matrices, ProductAndSumFollowColumnMajorStorage) {
    mat4 a, b;
    for (int i = 0; i < 16; ++i) {
        a.m[i] = float(i + 1);
        b.m[i] = float((i * 7) % 16 - 5);
    }
    const mat4 r = a * b;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += a.m[4 * k + row] * b.m[4 * col + k];
            EXPECT_FLOAT_EQ(r(row, col), sum);
        }
    const mat4 ts = Translate(10, 20, 30) * Scale(2, 3, 4);
    ExpectColumns(ts, {2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 10, 20, 30, 1});
    mat3 p, q;
    for (int i = 0; i < 9; ++i) {
        p.m[i] = float(i);
        q.m[i] = float(10 * i + 1);
    }
    const mat3 sum = p + q;
    for (int i = 0; i < 9; ++i) EXPECT_FLOAT_EQ(sum.m[i], float(11 * i + 1));
}

TEST(Matrices, RotateAboutAnyAxisAndZeroAxisIsIdentity) {
    const float t = 0.7f, nx = 1 / 3.0f, ny = 2 / 3.0f, nz = 2 / 3.0f;  // axis (1, 2, 2) has length 3
    const float c = std::cos(t), s = std::sin(t), k = 1 - c;
    ExpectColumns(
        Rotate(t, vec3(1, 2, 2)),
        {c + nx * nx * k, nx * ny * k + nz * s, nx * nz * k - ny * s, 0, nx * ny * k - nz * s, c + ny * ny * k,
         ny * nz * k + nx * s, 0, nx * nz * k + ny * s, ny * nz * k - nx * s, c + nz * nz * k, 0, 0, 0, 0, 1});
    // With y down on screen a quarter turn about z takes x to y.
    const vec4 p = Apply(Rotate(float(M_PI) / 2, vec3(0, 0, 1)), vec4(1, 0, 0, 1));
    EXPECT_NEAR(p.x, 0, 1e-6f);
    EXPECT_NEAR(p.y, 1, 1e-6f);
    ExpectColumns(Rotate(1.0f, vec3(0, 0, 0)), {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
}

TEST(Matrices, LookAtPutsEyeAtOriginAndTargetOnNegativeZ) {
    const vec3 eye(3, 4, 5), centre(1, -2, 0);
    const mat4 v = LookAt(eye, centre, vec3(0, 1, 0));
    const vec4 e = Apply(v, vec4(eye.x, eye.y, eye.z, 1));
    const vec4 c = Apply(v, vec4(centre.x, centre.y, centre.z, 1));
    const vec4 up = Apply(v, vec4(eye.x, eye.y + 1, eye.z, 1));
    EXPECT_NEAR(e.x, 0, 1e-5f);
    EXPECT_NEAR(e.y, 0, 1e-5f);
    EXPECT_NEAR(e.z, 0, 1e-5f);
    EXPECT_NEAR(c.x, 0, 1e-5f);
    EXPECT_NEAR(c.y, 0, 1e-5f);
    EXPECT_NEAR(c.z, -std::sqrt(65.0f), 1e-5f);
    EXPECT_NEAR(std::hypot(up.x, up.y, up.z), 1.0f, 1e-5f);  // a rigid motion keeps lengths
    EXPECT_NEAR(up.x, 0, 1e-5f);                             // up stays in the y-z plane
}

TEST(Matrices, ReverseBitsMirrorsEveryByte) {
    EXPECT_EQ(ReverseBits(0x12), 0x48);
    for (int v = 0; v < 256; ++v) {
        const uint8_t r = ReverseBits(uint8_t(v));
        for (int bit = 0; bit < 8; ++bit) EXPECT_EQ((v >> bit) & 1, (r >> (7 - bit)) & 1) << v;
    }
}

// Sprites: window pixels, y down, depth -1..1 at first and -5..5 after a resize.
// Text: y up, depth 0.1..1000, seen from z = 10.
TEST(Projections, RendererProjectionsFollowTheWindowAndIgnoreAnEmptySize) {
    OstrelTest::SizedRenderer renderer(800, 600);
    OstrelTest::SpriteRecorder sprites(&renderer);
    OstrelTest::TextRecorder text(&renderer);
    ExpectColumns(sprites.projection, {2.0f / 800, 0, 0, 0, 0, -2.0f / 600, 0, 0, 0, 0, -1, 0, -1, 1, 0, 1});
    ExpectColumns(sprites.view, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -1, 1});
    ExpectColumns(text.projection,
                  {2.0f / 800, 0, 0, 0, 0, 2.0f / 600, 0, 0, 0, 0, -2 / 999.9f, 0, -1, -1, -1000.1f / 999.9f, 1});
    ExpectColumns(text.view, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -10, 1});
    sprites.Resize(1024, 768);
    text.Resize(1024, 768);
    ExpectColumns(sprites.projection, {2.0f / 1024, 0, 0, 0, 0, -2.0f / 768, 0, 0, 0, 0, -0.2f, 0, -1, 1, 0, 1});
    EXPECT_NEAR(text.projection.m[0], 2.0f / 1024, 1e-7f);
    EXPECT_NEAR(text.projection.m[5], 2.0f / 768, 1e-7f);
    // A minimised window reports an empty size: both keep the last projection.
    struct Row {
        int w, h;
    };
    for (Row row : {Row{0, 0}, Row{0, 500}, Row{500, 0}, Row{-1, 300}}) {
        const mat4 s = sprites.projection, t = text.projection;
        sprites.Resize(row.w, row.h);
        text.Resize(row.w, row.h);
        for (int i = 0; i < 16; ++i) {
            EXPECT_EQ(sprites.projection.m[i], s.m[i]) << row.w << "x" << row.h;
            EXPECT_EQ(text.projection.m[i], t.m[i]) << row.w << "x" << row.h;
        }
    }
    sprites.DrawSprite(nullptr, ivec4(1, 2, 3, 4), vec3(0, 1, 0), 0.5f);  // no tint: white
    EXPECT_EQ(sprites.draws.at(0).tint.w, 1.0f);
    EXPECT_EQ(sprites.draws.at(0).tint.x, 1.0f);
}
