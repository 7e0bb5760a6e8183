// Matrix builders and products as the sprite and text renderers use them.
#include "core/Math.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Ostrel;

namespace {

vec4 Apply(const mat4& m, vec4 p) {
    vec4 r;
    float* out = r.data();
    for (int row = 0; row < 4; ++row) {
        out[row] = m(row, 0) * p.x + m(row, 1) * p.y + m(row, 2) * p.z + m(row, 3) * p.w;
    }
    return r;
}

void ExpectMatNear(const mat4& a, const mat4& b, float tolerance = 1e-6f) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(a.m[i], b.m[i], tolerance) << "element " << i;
}

mat4 FromColumns(std::initializer_list<float> values) {
    mat4 r;
    int i = 0;
    for (float v : values) r.m[i++] = v;
    return r;
}

}  // namespace

TEST(MatrixProduct, FollowsColumnMajorStorage) {
    // Distinct entries so any transposition or operand swap shows.
    mat4 a, b;
    for (int i = 0; i < 16; ++i) {
        a.m[i] = static_cast<float>(i + 1);
        b.m[i] = static_cast<float>((i * 7) % 16 - 5);
    }
    const mat4 r = a * b;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += a.m[4 * k + row] * b.m[4 * col + k];
            EXPECT_FLOAT_EQ(r.m[4 * col + row], sum) << "row " << row << " col " << col;
        }
    }
    // The product is not commutative for these operands.
    const mat4 swapped = b * a;
    bool differs = false;
    for (int i = 0; i < 16; ++i) differs = differs || swapped.m[i] != r.m[i];
    EXPECT_TRUE(differs);
}

TEST(MatrixProduct, TranslationTimesScaleKeepsTranslationUnscaled) {
    const mat4 r = Translate(10.0f, 20.0f, 30.0f) * Scale(2.0f, 3.0f, 4.0f);
    EXPECT_FLOAT_EQ(r.m[12], 10.0f);
    EXPECT_FLOAT_EQ(r.m[13], 20.0f);
    EXPECT_FLOAT_EQ(r.m[14], 30.0f);
    EXPECT_FLOAT_EQ(r.m[0], 2.0f);
    EXPECT_FLOAT_EQ(r.m[5], 3.0f);
    EXPECT_FLOAT_EQ(r.m[10], 4.0f);
    // The other order scales the translation.
    const mat4 s = Scale(2.0f, 3.0f, 4.0f) * Translate(10.0f, 20.0f, 30.0f);
    EXPECT_FLOAT_EQ(s.m[12], 20.0f);
    EXPECT_FLOAT_EQ(s.m[13], 60.0f);
    EXPECT_FLOAT_EQ(s.m[14], 120.0f);
}

TEST(Mat3Sum, AddsElementWise) {
    mat3 a, b;
    for (int i = 0; i < 9; ++i) {
        a.m[i] = static_cast<float>(i);
        b.m[i] = static_cast<float>(10 * i + 1);
    }
    const mat3 r = a + b;
    for (int i = 0; i < 9; ++i) EXPECT_FLOAT_EQ(r.m[i], static_cast<float>(11 * i + 1));
}

TEST(Rotate, MatchesRightHandedColumns) {
    const float t = 0.7f;
    const vec3 axis(1.0f, 2.0f, 2.0f);  // length 3
    const float nx = 1.0f / 3.0f, ny = 2.0f / 3.0f, nz = 2.0f / 3.0f;
    const float c = std::cos(t), s = std::sin(t), k = 1.0f - c;
    const mat4 expected =
        FromColumns({c + nx * nx * k, nx * ny * k + nz * s, nx * nz * k - ny * s, 0.0f, nx * ny * k - nz * s,
                     c + ny * ny * k, ny * nz * k + nx * s, 0.0f, nx * nz * k + ny * s, ny * nz * k - nx * s,
                     c + nz * nz * k, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f});
    ExpectMatNear(Rotate(t, axis), expected);
}

TEST(Rotate, AboutZTurnsXTowardsYAndAboutYNarrowsByCosine) {
    // With y growing downwards on screen the first is a clockwise turn.
    const vec4 p = Apply(Rotate(static_cast<float>(M_PI) / 2.0f, vec3(0, 0, 1)), vec4(1, 0, 0, 1));
    EXPECT_NEAR(p.x, 0.0f, 1e-6f);
    EXPECT_NEAR(p.y, 1.0f, 1e-6f);
    const vec4 q = Apply(Rotate(1.0f, vec3(0, 1, 0)), vec4(0.5f, 0.5f, 0, 1));
    EXPECT_NEAR(q.x, 0.5f * std::cos(1.0f), 1e-6f);
    EXPECT_NEAR(q.y, 0.5f, 1e-6f);
    EXPECT_NEAR(q.z, -0.5f * std::sin(1.0f), 1e-6f);
}

TEST(Rotate, AngleZeroIsIdentityAndZeroAxisDoesNotPoison) {
    ExpectMatNear(Rotate(0.0f, vec3(0, 0, 1)), mat4::Identity());
    const mat4 r = Rotate(1.0f, vec3(0, 0, 0));
    for (float v : r.m) EXPECT_FALSE(std::isnan(v));
    ExpectMatNear(r, mat4::Identity());
}

TEST(Ortho, SpriteProjectionMapsWindowPixelsToClipSpace) {
    const mat4 p = Ortho(0.0f, 800.0f, 600.0f, 0.0f, -1.0f, 1.0f);
    ExpectMatNear(p, FromColumns({2.0f / 800, 0, 0, 0, 0, -2.0f / 600, 0, 0, 0, 0, -1, 0, -1, 1, 0, 1}));
    const vec4 topLeft = Apply(p, vec4(0, 0, 0, 1));
    const vec4 bottomRight = Apply(p, vec4(800, 600, 0, 1));
    EXPECT_NEAR(topLeft.x, -1.0f, 1e-6f);
    EXPECT_NEAR(topLeft.y, 1.0f, 1e-6f);
    EXPECT_NEAR(bottomRight.x, 1.0f, 1e-6f);
    EXPECT_NEAR(bottomRight.y, -1.0f, 1e-6f);
}

TEST(Ortho, WiderDepthRangeOnlyChangesDepthScale) {
    const mat4 p = Ortho(0.0f, 1024.0f, 768.0f, 0.0f, -5.0f, 5.0f);
    ExpectMatNear(p, FromColumns({2.0f / 1024, 0, 0, 0, 0, -2.0f / 768, 0, 0, 0, 0, -0.2f, 0, -1, 1, 0, 1}));
    // Text projection: y up, near 0.1, far 1000.
    const mat4 t = Ortho(0.0f, 800.0f, 0.0f, 600.0f, 0.1f, 1000.0f);
    const vec4 eyeDepth10 = Apply(t, vec4(0, 600, -10, 1));
    EXPECT_NEAR(eyeDepth10.y, 1.0f, 1e-6f);
    EXPECT_GT(eyeDepth10.z, -1.0f);
    EXPECT_LT(eyeDepth10.z, 1.0f);
}

TEST(LookAt, GeneralEyeMapsEyeToOriginAndTargetOntoNegativeZ) {
    const vec3 eye(3, 4, 5), centre(1, -2, 0);
    const mat4 v = LookAt(eye, centre, vec3(0, 1, 0));
    const vec4 e = Apply(v, vec4(eye.x, eye.y, eye.z, 1));
    EXPECT_NEAR(e.x, 0.0f, 1e-5f);
    EXPECT_NEAR(e.y, 0.0f, 1e-5f);
    EXPECT_NEAR(e.z, 0.0f, 1e-5f);
    const vec4 c = Apply(v, vec4(centre.x, centre.y, centre.z, 1));
    EXPECT_NEAR(c.x, 0.0f, 1e-5f);
    EXPECT_NEAR(c.y, 0.0f, 1e-5f);
    EXPECT_NEAR(c.z, -std::sqrt(4.0f + 36.0f + 25.0f), 1e-5f);
}

TEST(ReverseBits, ReversesBitOrder) {
    EXPECT_EQ(ReverseBits(0x01), 0x80);
    EXPECT_EQ(ReverseBits(0x0F), 0xF0);
    EXPECT_EQ(ReverseBits(0xA5), 0xA5);
    EXPECT_EQ(ReverseBits(0x00), 0x00);
    EXPECT_EQ(ReverseBits(0x12), 0x48);
    for (int v = 0; v < 256; ++v) {
        const uint8_t r = ReverseBits(static_cast<uint8_t>(v));
        for (int bit = 0; bit < 8; ++bit) {
            EXPECT_EQ((v >> bit) & 1, (r >> (7 - bit)) & 1) << "value " << v << " bit " << bit;
        }
    }
}
