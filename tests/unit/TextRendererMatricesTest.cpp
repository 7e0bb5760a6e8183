// The text renderer's projection and view: window pixels (origin bottom left
// after the renderer's own y flip) land in clip space, and follow a resize.
#include "FixedSizeRenderer.h"
#include "RecordingTextRenderer.h"

#include <gtest/gtest.h>

namespace {

using Ostrel::mat4;
using Ostrel::vec4;

vec4 Apply(const mat4& m, vec4 p) {
    vec4 r;
    float* out = r.data();
    for (int row = 0; row < 4; ++row) {
        out[row] = m(row, 0) * p.x + m(row, 1) * p.y + m(row, 2) * p.z + m(row, 3) * p.w;
    }
    return r;
}

// A point of the text plane (z 0) in normalised device coordinates.
vec4 ToClip(const Ostrel::TextRenderer& text, float x, float y) {
    vec4 clip = Apply(text.projection * text.view, vec4(x, y, 0.0f, 1.0f));
    return vec4(clip.x / clip.w, clip.y / clip.w, clip.z / clip.w, 1.0f);
}

TEST(TextRendererMatricesTest, SizeComesFromTheRendererAndSpansClipSpace) {
    OstrelTest::FixedSizeRenderer renderer(800, 600);
    OstrelTest::RecordingTextRenderer text(&renderer);
    EXPECT_EQ(text.width, 800);
    EXPECT_EQ(text.height, 600);
    EXPECT_EQ(text.renderer, &renderer);
    EXPECT_EQ(text.boundTexture, nullptr);
    const vec4 origin = ToClip(text, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(origin.x, -1.0f);
    EXPECT_FLOAT_EQ(origin.y, -1.0f);
    const vec4 corner = ToClip(text, 800.0f, 600.0f);
    EXPECT_FLOAT_EQ(corner.x, 1.0f);
    EXPECT_FLOAT_EQ(corner.y, 1.0f);
    // The plane sits 10 units in front of the eye, inside the 0.1..1000 range.
    EXPECT_GT(origin.z, -1.0f);
    EXPECT_LT(origin.z, 1.0f);
}

TEST(TextRendererMatricesTest, ViewLooksDownZFromTen) {
    OstrelTest::FixedSizeRenderer renderer(800, 600);
    OstrelTest::RecordingTextRenderer text(&renderer);
    const vec4 p = Apply(text.view, vec4(3.0f, 4.0f, 0.0f, 1.0f));
    EXPECT_FLOAT_EQ(p.x, 3.0f);
    EXPECT_FLOAT_EQ(p.y, 4.0f);
    EXPECT_FLOAT_EQ(p.z, -10.0f);
}

TEST(TextRendererMatricesTest, ResizeChangesTheProjectionOnly) {
    OstrelTest::FixedSizeRenderer renderer(800, 600);
    OstrelTest::RecordingTextRenderer text(&renderer);
    const mat4 viewBefore = text.view;
    text.Resize(1280, 720);
    EXPECT_EQ(text.width, 1280);
    EXPECT_EQ(text.height, 720);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(text.view.m[i], viewBefore.m[i]) << i;
    const vec4 corner = ToClip(text, 1280.0f, 720.0f);
    EXPECT_FLOAT_EQ(corner.x, 1.0f);
    EXPECT_FLOAT_EQ(corner.y, 1.0f);
    const vec4 middle = ToClip(text, 640.0f, 360.0f);
    EXPECT_NEAR(middle.x, 0.0f, 1e-6);
    EXPECT_NEAR(middle.y, 0.0f, 1e-6);
}

}  // namespace
