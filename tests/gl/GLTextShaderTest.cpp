// The text program turns both glyph texture kinds into coverage of the text
// colour: one red channel (TrueType) and RGBA light-on-transparent (bitmap).
#include "GLTestContext.h"
#include "TempDir.h"
#include "core/FileReader.h"
#include "gl/GLTextShader.h"
#include "gl/GLTexture2D.h"
#include "gl/GLVao.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

using namespace Ostrel;

namespace {

class TextShaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl.Ok());
        testing::internal::CaptureStdout();
        shader.Load();
        ASSERT_EQ(testing::internal::GetCapturedStdout(), "");
        // A 32 x 32 quad at the bottom left, laid out as the text renderer does.
        const float vertices[16] = {0, 0, 0, 0, 32, 0, 1, 0, 0, 32, 0, 1, 32, 32, 1, 1};
        InterleavedBufferDescription description;
        description.size = sizeof(vertices);
        description.data = vertices;
        description.usage = GL_DYNAMIC_DRAW;
        description.layouts = {AttributeLayout{0, 2, GL_FLOAT, 0}, AttributeLayout{1, 2, GL_FLOAT, 8}};
        quad = std::make_unique<GLVao>(description);
        projection = Ortho(0.0f, 64.0f, 0.0f, 64.0f, 0.1f, 1000.0f);
        view = LookAt(vec3(0, 0, 10), vec3(0, 0, 0), vec3(0, 1, 0));
    }
    void TearDown() override {
        if (quad) quad->Destroy();
        shader.Unload();
    }

    // Draws a 1 x 1 glyph texture over black with alpha blending and returns
    // the colour that lands.
    OstrelTest::Rgba Draw(std::vector<uint8_t> texel, int channels, vec4 colour) {
        TextureParameters params(0);
        params.channels = channels;
        GLTexture2D glyph(texel.data(), 1, 1, params);
        glViewport(0, 0, gl.width, gl.height);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        quad->Bind();
        shader.Use();
        shader.SetProjectionView(&projection, &view);
        const mat4 identity = mat4::Identity();
        shader.SetTransform(&identity);
        shader.SetColor(&colour);
        glActiveTexture(GL_TEXTURE0);
        glyph.Bind();
        quad->Draw();
        glDisable(GL_BLEND);
        return gl.Pixel(16, 63 - 16);
    }

    static void ExpectNear(OstrelTest::Rgba p, int r, int g, int b) {
        EXPECT_LE(std::abs(p.r - r), 2) << "red " << int(p.r) << " expected " << r;
        EXPECT_LE(std::abs(p.g - g), 2) << "green " << int(p.g) << " expected " << g;
        EXPECT_LE(std::abs(p.b - b), 2) << "blue " << int(p.b) << " expected " << b;
    }

    OstrelTest::GLTestContext gl{64, 64};
    FileReader files;
    GLTextShader shader{&files};
    std::unique_ptr<GLVao> quad;
    mat4 projection;
    mat4 view;
};

TEST_F(TextShaderTest, RedChannelGlyphIsCoverage) {
    const vec4 orange(1.0f, 0.5f, 0.0f, 1.0f);
    ExpectNear(Draw({255}, 1, orange), 255, 128, 0);
    ExpectNear(Draw({128}, 1, orange), 128, 64, 0);
    ExpectNear(Draw({0}, 1, orange), 0, 0, 0);
}

TEST_F(TextShaderTest, BitmapAtlasAlphaIsCoverage) {
    const vec4 orange(1.0f, 0.5f, 0.0f, 1.0f);
    ExpectNear(Draw({255, 255, 255, 255}, 4, orange), 255, 128, 0);
    ExpectNear(Draw({255, 255, 255, 64}, 4, orange), 64, 32, 0);
    ExpectNear(Draw({0, 0, 0, 0}, 4, orange), 0, 0, 0);
    ExpectNear(Draw({255, 255, 255, 0}, 4, orange), 0, 0, 0);
    // A coloured glyph still counts by its alpha, in the text colour.
    ExpectNear(Draw({0, 255, 0, 255}, 4, orange), 255, 128, 0);
}

TEST_F(TextShaderTest, TextColourAlphaScalesCoverage) {
    ExpectNear(Draw({255}, 1, vec4(0.0f, 1.0f, 1.0f, 0.5f)), 0, 128, 128);
    ExpectNear(Draw({255, 255, 255, 255}, 4, vec4(1.0f, 1.0f, 1.0f, 0.25f)), 64, 64, 64);
}

}  // namespace
