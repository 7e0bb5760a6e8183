// Sprites land on the pixels their rectangle, rotation and tint say.
#include "GLDeleteRecorder.h"
#include "GLTestContext.h"
#include "RecordingTexture.h"
#include "RecordingWindowManager.h"
#include "TempDir.h"
#include "core/FileReader.h"
#include "gl/GLESRenderer_3_1.h"
#include "gl/GLShaderImplementation.h"
#include "gl/GLSpriteRenderer.h"
#include "gl/GLSpriteShader.h"
#include "gl/GLTexture2D.h"
#include "gl/GLTextureManager.h"
#include "gl/GLVao.h"
#include "sdl/STBImageLoader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace Ostrel;
using OstrelTest::Rgba;

namespace {

const vec4 kWhite(1.0f, 1.0f, 1.0f, 1.0f);

bool Near(Rgba p, int r, int g, int b, int tolerance = 2) {
    return std::abs(p.r - r) <= tolerance && std::abs(p.g - g) <= tolerance && std::abs(p.b - b) <= tolerance;
}

std::string Describe(Rgba p) {
    return "(" + std::to_string(p.r) + ", " + std::to_string(p.g) + ", " + std::to_string(p.b) + ", " +
           std::to_string(p.a) + ")";
}

#define EXPECT_PIXEL(ctx, x, y, r, g, b)          \
    EXPECT_TRUE(Near((ctx).Pixel(x, y), r, g, b)) \
        << "pixel (" << (x) << ", " << (y) << ") is " << Describe((ctx).Pixel(x, y))

// Texture rows first row first: the first row is the top of the sprite.
using Pixels = std::vector<uint8_t>;
const Pixels kQuadrants = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255};

class SpriteRendererTest : public ::testing::Test {
protected:
    explicit SpriteRendererTest(int w = 800, int h = 600) : gl(w, h) {}

    void SetUp() override {
        ASSERT_TRUE(gl.Ok());
        renderer = std::make_unique<GLESRenderer_3_1>(&window);
        renderer->clearColour = vec4(0.0f, 0.0f, 0.0f, 1.0f);
        sprites = std::make_unique<GLSpriteRenderer>(renderer.get(), &files);
        testing::internal::CaptureStdout();
        sprites->Initialize();
        shaderOutput = testing::internal::GetCapturedStdout();
        glDisable(GL_BLEND);
    }

    void TearDown() override {
        if (HasFailure()) {
            const auto* info = testing::UnitTest::GetInstance()->current_test_info();
            gl.SavePng(OstrelTest::ExecutableDir() + "/" + info->test_suite_name() + "_" + info->name() + ".png");
        }
        textures.clear();
        if (sprites) {
            sprites->Shutdown();
            auto* vao = static_cast<GLVao*>(sprites->quad);
            if (vao != nullptr) vao->Destroy();
            delete vao;
        }
    }

    GLTexture2D* MakeTexture(const std::vector<uint8_t>& rgba, unsigned w, unsigned h, int filter = 0) {
        textures.push_back(std::make_unique<GLTexture2D>(rgba.data(), w, h, TextureParameters(filter)));
        return textures.back().get();
    }

    // Covered pixels of row y: count and first/last column (none: first = -1).
    struct RowSpan {
        int count = 0, first = -1, last = -1;
    };
    RowSpan Span(const std::vector<uint8_t>& frame, int y) const {
        RowSpan span;
        for (int x = 0; x < gl.width; ++x) {
            const uint8_t* p = &frame[(static_cast<size_t>(y) * gl.width + x) * 4];
            if (p[0] + p[1] + p[2] > 60) {
                if (span.first < 0) span.first = x;
                span.last = x;
                ++span.count;
            }
        }
        return span;
    }

    OstrelTest::GLTestContext gl;
    OstrelTest::RecordingWindowManager window;
    FileReader files;
    std::unique_ptr<GLESRenderer_3_1> renderer;
    std::unique_ptr<GLSpriteRenderer> sprites;
    std::vector<std::unique_ptr<GLTexture2D>> textures;
    std::string shaderOutput;
};

TEST_F(SpriteRendererTest, RectangleAndPositionCoverExactPixelsWithTextureOriginTopLeft) {
    EXPECT_EQ(shaderOutput, "");
    // Red top-left, green top-right, blue bottom-left, white bottom-right.
    GLTexture2D* quadrants = MakeTexture(kQuadrants, 2, 2);
    GLTexture2D* white = MakeTexture(Pixels(64 * 32 * 4, 255), 64, 32);
    struct Case {
        const char* name;
        ivec4 covered;
    };
    for (const Case& c : {Case{"rect", ivec4(10, 20, 30, 40)}, Case{"position", ivec4(5, 5, 64, 32)}}) {
        SCOPED_TRACE(c.name);
        renderer->BeginFrame();
        sprites->Begin(0);
        if (c.covered.x == 10) {
            sprites->DrawSprite(quadrants, c.covered);
            EXPECT_PIXEL(gl, 10, 20, 255, 0, 0);
            EXPECT_PIXEL(gl, 39, 20, 0, 255, 0);
            EXPECT_PIXEL(gl, 10, 59, 0, 0, 255);
            EXPECT_PIXEL(gl, 39, 59, 255, 255, 255);
            EXPECT_PIXEL(gl, 24, 39, 255, 0, 0);
            EXPECT_PIXEL(gl, 25, 40, 255, 255, 255);
        } else {
            sprites->DrawSprite(white, vec2(5.0f, 5.0f));  // the texture's own size
        }
        const auto frame = gl.ReadPixels();
        for (int y = 0; y < 80; ++y) {
            const RowSpan span = Span(frame, y);
            if (y >= c.covered.y && y < c.covered.y + c.covered.w) {
                EXPECT_EQ(span.first, c.covered.x) << "row " << y;
                EXPECT_EQ(span.last, c.covered.x + c.covered.z - 1) << "row " << y;
            } else {
                EXPECT_EQ(span.count, 0) << "row " << y;
            }
        }
    }
}

TEST_F(SpriteRendererTest, TintMultipliesTheTexture) {
    GLTexture2D* tex = MakeTexture(Pixels{200, 100, 50, 255}, 1, 1);
    renderer->BeginFrame();
    sprites->Begin(0);
    sprites->DrawSprite(tex, ivec4(0, 0, 10, 10), vec4(0.5f, 1.0f, 0.0f, 1.0f), vec3(0, 0, 1), 0.0f);
    sprites->DrawSprite(tex, ivec4(20, 0, 10, 10));  // untinted overload is white
    EXPECT_PIXEL(gl, 5, 5, 100, 100, 0);
    EXPECT_PIXEL(gl, 25, 5, 200, 100, 50);
}

TEST_F(SpriteRendererTest, BlendModeZeroMixesAndModeOneLeavesBlendingAsItWas) {
    GLTexture2D* red = MakeTexture(Pixels{255, 0, 0, 255}, 1, 1);
    GLTexture2D* halfWhite = MakeTexture(Pixels{255, 255, 255, 128}, 1, 1);
    renderer->BeginFrame();
    sprites->Begin(0);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    sprites->DrawSprite(red, ivec4(0, 0, 20, 20));
    sprites->DrawSprite(halfWhite, ivec4(10, 0, 20, 20));
    EXPECT_PIXEL(gl, 5, 5, 255, 0, 0);
    EXPECT_PIXEL(gl, 15, 5, 255, 128, 128);
    EXPECT_PIXEL(gl, 25, 5, 128, 128, 128);  // over the black clear
    sprites->End();

    // Mode 1 after mode 0: still enabled, still mixes.
    sprites->Begin(1);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    sprites->DrawSprite(red, ivec4(0, 40, 20, 20));
    sprites->DrawSprite(halfWhite, ivec4(10, 40, 20, 20));
    EXPECT_PIXEL(gl, 15, 45, 255, 128, 128);

    // Disabled stays disabled: the translucent sprite replaces what is below.
    glDisable(GL_BLEND);
    sprites->Begin(1);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    sprites->DrawSprite(red, ivec4(0, 80, 20, 20));
    sprites->DrawSprite(halfWhite, ivec4(10, 80, 20, 20));
    EXPECT_PIXEL(gl, 15, 85, 255, 255, 255);
}

TEST_F(SpriteRendererTest, RotationAboutZTurnsClockwiseAboutTheCentre) {
    // Left half red, right half green; a wide bar turned a quarter clockwise
    // stands upright with its right (green) end at the bottom.
    GLTexture2D* tex = MakeTexture(Pixels{255, 0, 0, 255, 0, 255, 0, 255}, 2, 1);
    renderer->BeginFrame();
    sprites->Begin(0);
    sprites->DrawSprite(tex, ivec4(300, 275, 200, 50), kWhite, vec3(0, 0, 1), static_cast<float>(M_PI) / 2.0f);
    EXPECT_PIXEL(gl, 400, 380, 0, 255, 0);
    EXPECT_PIXEL(gl, 400, 220, 255, 0, 0);
    EXPECT_PIXEL(gl, 480, 300, 0, 0, 0);  // where the unturned bar was
    EXPECT_PIXEL(gl, 320, 300, 0, 0, 0);
    const auto frame = gl.ReadPixels();
    const RowSpan middle = Span(frame, 300);
    EXPECT_NEAR(middle.count, 50, 1);
    EXPECT_NEAR((middle.first + middle.last) / 2.0, 400.0, 1.0);

    // A small positive angle: the right end dips below the centre line.
    renderer->BeginFrame();
    sprites->Begin(0);
    sprites->DrawSprite(tex, ivec4(300, 290, 200, 20), kWhite, vec3(0, 0, 1), 0.3f);
    EXPECT_PIXEL(gl, 480, 300 + static_cast<int>(80 * std::sin(0.3f)), 0, 255, 0);
    EXPECT_PIXEL(gl, 320, 300 - static_cast<int>(80 * std::sin(0.3f)), 255, 0, 0);
}

TEST_F(SpriteRendererTest, RotationAboutYNarrowsToCosineOfWidthInBothProjections) {
    GLTexture2D* white = MakeTexture(Pixels(4 * 4 * 4, 255), 4, 4);
    for (int form = 0; form < 2; ++form) {
        if (form == 1) sprites->Resize(800, 600);  // the game's projection
        for (float t : {0.4f, 1.0f, 2.5f}) {
            renderer->BeginFrame();
            sprites->Begin(0);
            sprites->DrawSprite(white, ivec4(200, 200, 200, 100), kWhite, vec3(0, 1, 0), t);
            const auto frame = gl.ReadPixels();
            const double expected = 200.0 * std::fabs(std::cos(t));
            for (int y : {200, 250, 299}) {
                const RowSpan span = Span(frame, y);
                EXPECT_NEAR(span.count, expected, 1.5) << "form " << form << " angle " << t << " row " << y;
                EXPECT_NEAR((span.first + span.last + 1) / 2.0, 300.0, 1.0) << "form " << form << " angle " << t;
            }
            EXPECT_EQ(Span(frame, 199).count, 0);
            EXPECT_EQ(Span(frame, 300).count, 0);
        }
    }
}

TEST_F(SpriteRendererTest, AngleZeroEqualsTheUnrotatedOverload) {
    GLTexture2D* tex = MakeTexture(kQuadrants, 2, 2, 1);
    renderer->BeginFrame();
    sprites->Begin(0);
    sprites->DrawSprite(tex, ivec4(13, 17, 101, 57));
    const auto plain = gl.ReadPixels();
    renderer->BeginFrame();
    sprites->Begin(0);
    sprites->DrawSprite(tex, ivec4(13, 17, 101, 57), kWhite, vec3(0, 0, 1), 0.0f);
    const auto turned = gl.ReadPixels();
    EXPECT_TRUE(plain == turned);
    EXPECT_GT(Span(plain, 40).count, 0);
}

TEST_F(SpriteRendererTest, SameTextureTwiceInARowBindsOnce) {
    OstrelTest::RecordingTexture a(nullptr, 8, 8, TextureParameters(), 4);
    OstrelTest::RecordingTexture b(nullptr, 8, 8, TextureParameters(), 4);
    renderer->BeginFrame();
    sprites->Begin(0);
    sprites->DrawSprite(&a, ivec4(0, 0, 8, 8));
    sprites->DrawSprite(&a, ivec4(8, 0, 8, 8), kWhite, vec3(0, 0, 1), 0.5f);
    sprites->DrawSprite(&b, vec2(16.0f, 0.0f));
    sprites->DrawSprite(&b, ivec4(24, 0, 8, 8));
    sprites->DrawSprite(&a, ivec4(32, 0, 8, 8));
    sprites->End();
    EXPECT_EQ(a.bindCount, 2);
    EXPECT_EQ(b.bindCount, 1);
    EXPECT_EQ(sprites->boundTexture, &a);

    // A new batch forgets what was bound: the first sprite binds again.
    sprites->Begin(0);
    EXPECT_EQ(sprites->boundTexture, nullptr);
    sprites->DrawSprite(&a, ivec4(0, 0, 8, 8));
    EXPECT_EQ(a.bindCount, 3);
}

TEST_F(SpriteRendererTest, NullTextureDrawsNothingAndKeepsTheBoundTexture) {
    OstrelTest::RecordingTexture a(nullptr, 8, 8, TextureParameters(), 4);
    GLTexture2D* white = MakeTexture(Pixels{255, 255, 255, 255}, 1, 1);
    renderer->BeginFrame();
    sprites->Begin(0);
    sprites->DrawSprite(&a, ivec4(300, 300, 8, 8));
    sprites->DrawSprite(nullptr, ivec4(0, 0, 50, 50));
    sprites->DrawSprite(nullptr, ivec4(0, 0, 50, 50), kWhite, vec3(0, 1, 0), 0.3f);
    sprites->DrawSprite(nullptr, vec2(0.0f, 0.0f));
    sprites->DrawSprite(nullptr, ivec4(0, 0, 50, 50), vec3(0, 0, 1), 1.0f);
    EXPECT_EQ(sprites->boundTexture, &a);
    EXPECT_EQ(Span(gl.ReadPixels(), 25).count, 0);
    sprites->DrawSprite(white, ivec4(0, 0, 50, 50));
    EXPECT_PIXEL(gl, 25, 25, 255, 255, 255);
}

TEST_F(SpriteRendererTest, ShutdownDeletesTheProgramAndIsSafeTwice) {
    OstrelTest::GLDeleteRecorder deletes;
    auto* shader = static_cast<GLSpriteShader*>(sprites->shader);
    const GLuint program = shader->implementation->program;
    EXPECT_TRUE(glIsProgram(program));
    sprites->Shutdown();
    EXPECT_EQ(deletes.programs, (std::vector<GLuint>{program}));
    glUseProgram(0);
    EXPECT_FALSE(glIsProgram(program));
    EXPECT_EQ(sprites->shader, nullptr);
    sprites->Shutdown();
}

class SpriteRendererResizeTest : public SpriteRendererTest {
protected:
    SpriteRendererResizeTest() : SpriteRendererTest(1024, 768) {}
};

TEST_F(SpriteRendererResizeTest, ProjectionAndViewportFollowTheWindow) {
    // The framework forwards window resizes to the sprite renderer.
    window.AddWindowResizedListener([this](WindowResizedEvent* e) { sprites->Resize(e->width, e->height); });
    EXPECT_EQ(renderer->GetWidth(), 800);
    glViewport(0, 0, 800, 600);
    window.Resize(1024, 768);
    EXPECT_EQ(renderer->GetSize().x, 1024);
    EXPECT_EQ(renderer->GetSize().y, 768);

    GLTexture2D* white = MakeTexture(Pixels{255, 255, 255, 255}, 1, 1);
    renderer->BeginFrame();
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 1024);
    EXPECT_EQ(viewport[3], 768);
    sprites->Begin(0);
    sprites->DrawSprite(white, ivec4(1004, 748, 20, 20));
    sprites->DrawSprite(white, ivec4(0, 0, 10, 10));
    EXPECT_PIXEL(gl, 1023, 767, 255, 255, 255);
    EXPECT_PIXEL(gl, 1004, 748, 255, 255, 255);
    EXPECT_PIXEL(gl, 1003, 747, 0, 0, 0);
    EXPECT_PIXEL(gl, 0, 0, 255, 255, 255);
    EXPECT_PIXEL(gl, 10, 10, 0, 0, 0);
}

TEST_F(SpriteRendererTest, SceneOfTexturedTurnedAndTintedSprites) {
    // Saved for a look; the real card pictures must load and land.
    STBImageLoader loader;
    GLTextureManager manager(&loader);
    manager.Initialize();
    renderer->clearColour = vec4(0.06f, 0.22f, 0.06f, 1.0f);
    renderer->BeginFrame();
    sprites->Begin(0);
    const char* names[] = {"apple", "fox", "rocket", "star", "whale", "back"};
    for (int i = 0; i < 6; ++i) {
        ITexture2D* card =
            manager.LoadTexture(std::string("assets/game/textures/cards/") + names[i] + ".png", names[i]);
        ASSERT_GT(card->width, 0u) << names[i];
        const vec4 tint = i == 4 ? vec4(1.0f, 0.5f, 0.5f, 1.0f) : i == 5 ? vec4(0.6f, 1.0f, 0.6f, 0.5f) : kWhite;
        sprites->DrawSprite(card, ivec4(40 + i * 125, 60, 110, 150), tint, vec3(0, 0, 1), i == 4 ? 0.0f : i * 0.5f);
        sprites->DrawSprite(card, ivec4(60 + i * 125, 300, 110, 150), kWhite, vec3(0, 1, 0), i * 0.35f);
    }
    sprites->End();
    EXPECT_TRUE(gl.SavePng(OstrelTest::ExecutableDir() + "/sprite_scene.png"));
    EXPECT_FALSE(Near(gl.Pixel(95, 135), 15, 56, 15, 3));
    EXPECT_PIXEL(gl, 5, 5, 15, 56, 15);
    manager.Shutdown();
}

}  // namespace
