// The post-processing pass on a real context: the offscreen target, Begin/End,
// resizing, and the standard inputs each applied frame hands to its effect.
#include "FullScreenImage.h"
#include "GLTestContext.h"
#include "RecordingWindowManager.h"
#include "TempDir.h"
#include "gl/EffectInstance.h"
#include "gl/GLESRenderer_3_1.h"
#include "gl/GLEffectShader.h"
#include "gl/GLPostProcessManager.h"
#include "gl/GLRenderFrameBuffer.h"
#include "gl/GLShaderImplementation.h"
#include "gl/GLTexture2D.h"
#include "sdl/SDLTimeManager.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace {

using OstrelTest::FillRect;
using OstrelTest::Rgba;
using OstrelTest::SolidImage;

const char* const kVertex = R"(#version 300 es
layout(location = 0) in vec3 a_position;
layout(location = 1) in vec2 a_uv;
out vec2 v_uv;
void main() { v_uv = a_uv; gl_Position = vec4(a_position, 1.0); }
)";

const char* const kPassThrough = R"(#version 300 es
precision highp float;
in vec2 v_uv;
out vec4 fragColor;
uniform sampler2D u_texture0;
void main() { fragColor = vec4(texture(u_texture0, v_uv).rgb, 1.0); }
)";

// Left half: the scene on unit 0; right half: the effect's slot-1 texture.
// Keeps the time, random and resolution inputs active so they can be read back.
const char* const kProbe = R"(#version 300 es
precision highp float;
in vec2 v_uv;
out vec4 fragColor;
uniform sampler2D u_texture0;
uniform sampler2D u_texture1;
uniform vec2 u_resolution;
uniform float u_time;
uniform float u_random;
void main() {
    vec3 colour = v_uv.x < 0.5 ? texture(u_texture0, v_uv).rgb : texture(u_texture1, vec2(0.5)).rgb;
    if (u_time < -1.0e6) colour = vec3(u_random, u_resolution);
    fragColor = vec4(colour, 1.0);
}
)";

// Draws nothing on the left half, so the window shows what Draw cleared to.
const char* const kDiscardLeft = R"(#version 300 es
precision highp float;
in vec2 v_uv;
out vec4 fragColor;
uniform sampler2D u_texture0;
void main() {
    if (v_uv.x < 0.5) discard;
    fragColor = vec4(texture(u_texture0, v_uv).rgb, 1.0);
}
)";

::testing::AssertionResult IsColour(Rgba p, int r, int g, int b) {
    if (p.r == r && p.g == g && p.b == b) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (" << int(p.r) << ", " << int(p.g) << ", " << int(p.b)
                                         << ") expected (" << r << ", " << g << ", " << b << ")";
}

// Red, green, blue and white quadrants: top left, top right, bottom left, bottom right.
std::vector<uint8_t> Quadrants(int w, int h) {
    std::vector<uint8_t> image = SolidImage(w, h, 255, 255, 255);
    FillRect(image, w, 0, 0, w / 2, h / 2, 255, 0, 0);
    FillRect(image, w, w / 2, 0, w - w / 2, h / 2, 0, 255, 0);
    FillRect(image, w, 0, h / 2, w / 2, h - h / 2, 0, 0, 255);
    return image;
}

float UniformFloat(GLuint program, const char* name, int component = 0) {
    float value[4] = {NAN, NAN, NAN, NAN};
    glGetUniformfv(program, glGetUniformLocation(program, name), value);
    return value[component];
}

GLint WindowBinding() {
    GLint bound = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    return bound;
}

std::pair<GLint, GLint> TextureSize(GLuint texture) {
    GLint w = 0, h = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    glBindTexture(GL_TEXTURE_2D, 0);
    return {w, h};
}

class PostProcessManagerTest : public ::testing::Test {
protected:
    explicit PostProcessManagerTest(int w = 800, int h = 600) : gl(w, h) {}

    void SetUp() override {
        ASSERT_TRUE(gl.Ok());
        painter = std::make_unique<OstrelTest::FullScreenImage>();
        time.getTicks = [this] { return ticks; };
        time.delay = [](uint32_t) {};
        manager.Initialize();
    }

    void TearDown() override {
        if (HasFailure()) {
            const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
            gl.SavePng(OstrelTest::ExecutableDir() + "/" + info->test_suite_name() + "_" + info->name() + ".png");
        }
        effects.clear();
        painter.reset();
    }

    Ostrel::EffectInstance* MakeEffect(const char* fragment) {
        auto* shader = new Ostrel::GLEffectShader(kVertex, fragment);
        effects.push_back(std::make_unique<Ostrel::EffectInstance>(&renderer, &time, shader));
        effects.back()->Initialize();
        return effects.back().get();
    }

    Ostrel::GLRenderFrameBuffer* Target() { return static_cast<Ostrel::GLRenderFrameBuffer*>(manager.framebuffer); }

    GLuint Program(Ostrel::EffectInstance* effect) {
        return static_cast<Ostrel::GLEffectShader*>(effect->GetShader())->implementation->program;
    }

    // The Quadrants scene shown upright and edge to edge on a w x h window.
    void ExpectQuadrants(int w, int h) {
        const int x = w / 2, y = h / 2;
        EXPECT_TRUE(IsColour(gl.Pixel(0, 0), 255, 0, 0));
        EXPECT_TRUE(IsColour(gl.Pixel(x - 1, y - 1), 255, 0, 0));
        EXPECT_TRUE(IsColour(gl.Pixel(x, 0), 0, 255, 0));
        EXPECT_TRUE(IsColour(gl.Pixel(w - 1, y - 1), 0, 255, 0));
        EXPECT_TRUE(IsColour(gl.Pixel(0, h - 1), 0, 0, 255));
        EXPECT_TRUE(IsColour(gl.Pixel(x - 1, y), 0, 0, 255));
        EXPECT_TRUE(IsColour(gl.Pixel(x, y), 255, 255, 255));
        EXPECT_TRUE(IsColour(gl.Pixel(w - 1, h - 1), 255, 255, 255));
    }

    // One frame as the frame loop and a screen run it.
    void Frame(Ostrel::EffectInstance* effect, const std::vector<uint8_t>& scene, int w, int h) {
        time.BeginFrame();
        renderer.BeginFrame();
        manager.Begin(effect);
        painter->Draw(scene, w, h);
        manager.End();
        renderer.EndFrame();
        ticks += 5;
        time.EndFrame();
    }

    OstrelTest::GLTestContext gl;
    OstrelTest::RecordingWindowManager window;
    Ostrel::GLESRenderer_3_1 renderer{&window};
    Ostrel::GLPostProcessManager manager{&window, &renderer};
    Ostrel::SDLTimeManager time{60};
    uint64_t ticks = 1000;
    std::unique_ptr<OstrelTest::FullScreenImage> painter;
    std::vector<std::unique_ptr<Ostrel::EffectInstance>> effects;
};

TEST_F(PostProcessManagerTest, FrameShowsSceneThroughEffectUprightAndEdgeToEdge) {
    Ostrel::EffectInstance* effect = MakeEffect(kPassThrough);
    Frame(effect, Quadrants(800, 600), 800, 600);
    EXPECT_EQ(manager.currentEffect, nullptr);
    EXPECT_EQ(WindowBinding(), 0);
    ExpectQuadrants(800, 600);

    // A second End must not repeat the finished pass over the window.
    glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    manager.End();
    EXPECT_EQ(manager.currentEffect, nullptr);
    EXPECT_EQ(WindowBinding(), 0);
    EXPECT_TRUE(IsColour(gl.Pixel(400, 300), 255, 0, 255));
}

TEST_F(PostProcessManagerTest, BeginWithoutAnEffectLeavesTheSceneOnTheWindow) {
    renderer.BeginFrame();
    manager.Begin(nullptr);
    painter->Draw(SolidImage(800, 600, 0, 255, 0), 800, 600);
    manager.End();
    renderer.EndFrame();
    EXPECT_EQ(manager.currentEffect, nullptr);
    EXPECT_EQ(WindowBinding(), 0) << "the offscreen image must not stay bound";
    EXPECT_TRUE(IsColour(gl.Pixel(400, 300), 0, 255, 0));
}

TEST_F(PostProcessManagerTest, UninitialisedManagerPassesTheSceneThroughInsteadOfCrashing) {
    Ostrel::EffectInstance* effect = MakeEffect(kPassThrough);
    Ostrel::GLPostProcessManager fresh(&window, &renderer);  // Initialize never called
    renderer.BeginFrame();
    fresh.Begin(effect);
    painter->Draw(SolidImage(800, 600, 0, 0, 255), 800, 600);
    fresh.End();

    EXPECT_EQ(fresh.currentEffect, nullptr);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(IsColour(gl.Pixel(400, 300), 0, 0, 255));
}

TEST_F(PostProcessManagerTest, InitializeTwiceKeepsOneCompleteColourOnlyTargetSizedLikeTheRenderer) {
    Ostrel::GLRenderFrameBuffer* target = Target();
    const GLuint framebuffer = target->framebuffer;
    const GLuint texture = target->colorTexture;
    Ostrel::IGeometryBuffer* quad = target->quad;
    ASSERT_NE(framebuffer, 0u);
    ASSERT_NE(quad, nullptr);
    manager.Initialize();
    target->Initialize();
    EXPECT_EQ(target->framebuffer, framebuffer);
    EXPECT_EQ(target->colorTexture, texture);
    EXPECT_EQ(target->quad, quad);

    glBindFramebuffer(GL_FRAMEBUFFER, target->framebuffer);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    GLint depthType = -1;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE,
                                          &depthType);
    EXPECT_EQ(depthType, GL_NONE);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    EXPECT_EQ(TextureSize(target->colorTexture), std::make_pair(800, 600));
    EXPECT_TRUE(glIsRenderbuffer(target->renderbuffer));
}

TEST_F(PostProcessManagerTest, OffscreenIsClearedAndDepthTestedWhileDrawingAndDepthTestIsOffAfterEnd) {
    Ostrel::EffectInstance* effect = MakeEffect(kPassThrough);
    renderer.clearColour = Ostrel::vec4(0.2f, 0.4f, 0.6f, 1.0f);
    glDisable(GL_DEPTH_TEST);
    renderer.BeginFrame();
    manager.Begin(effect);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    manager.End();
    const Rgba p = gl.Pixel(400, 300);
    EXPECT_NEAR(p.r, 51, 1);
    EXPECT_NEAR(p.g, 102, 1);
    EXPECT_NEAR(p.b, 153, 1);

    // Two pictures at the same depth: with the depth test on, the later one
    // must still cover the earlier one, as on the window.
    manager.Begin(effect);
    painter->Draw(SolidImage(800, 600, 255, 0, 0), 800, 600);
    painter->Draw(SolidImage(800, 600, 0, 0, 255), 800, 600);
    manager.End();
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(IsColour(gl.Pixel(400, 300), 0, 0, 255));
}

TEST_F(PostProcessManagerTest, DrawClearsTheWindowToOpaqueBlackFirst) {
    Ostrel::EffectInstance* effect = MakeEffect(kDiscardLeft);
    Frame(effect, SolidImage(800, 600, 255, 255, 0), 800, 600);
    // The window was cleared to the renderer's pink at the frame start.
    const Rgba left = gl.Pixel(100, 300);
    EXPECT_TRUE(IsColour(left, 0, 0, 0));
    EXPECT_EQ(left.a, 255);
    EXPECT_TRUE(IsColour(gl.Pixel(700, 300), 255, 255, 0));
}

TEST_F(PostProcessManagerTest, SceneSitsOnUnitZeroAndTheEffectTextureOnUnitOne) {
    Ostrel::EffectInstance* effect = MakeEffect(kProbe);
    const unsigned char yellow[16] = {255, 255, 0, 255, 255, 255, 0, 255, 255, 255, 0, 255, 255, 255, 0, 255};
    Ostrel::GLTexture2D slot1(yellow, 2, 2);
    static_cast<Ostrel::GLEffectShader*>(effect->GetShader())->textures[1] = &slot1;

    Frame(effect, SolidImage(800, 600, 0, 255, 255), 800, 600);

    EXPECT_TRUE(IsColour(gl.Pixel(100, 300), 0, 255, 255));
    EXPECT_TRUE(IsColour(gl.Pixel(700, 300), 255, 255, 0));
}

TEST_F(PostProcessManagerTest, FramesPassFreshRandomsTimesOneFrameApartAndTheRendererSize) {
    Ostrel::EffectInstance* effect = MakeEffect(kProbe);
    const GLuint program = Program(effect);
    float times[3];
    float randoms[3];
    for (int i = 0; i < 3; ++i) {
        Frame(effect, SolidImage(800, 600, 10, 20, 30), 800, 600);
        times[i] = UniformFloat(program, "u_time");
        randoms[i] = UniformFloat(program, "u_random");
        EXPECT_GE(randoms[i], 0.0f);
        EXPECT_LE(randoms[i], 1.0f);
    }
    EXPECT_NE(randoms[0], randoms[1]);
    EXPECT_NE(randoms[1], randoms[2]);
    // Each frame that ends adds its length (here the 60 fps budget) to the clock.
    EXPECT_NEAR(times[1] - times[0], 1.0f / 60.0f, 1e-5f);
    EXPECT_NEAR(times[2] - times[1], 1.0f / 60.0f, 1e-5f);
    EXPECT_FLOAT_EQ(times[2], time.GetTotalSeconds() - time.GetDeltaMs() / 1000.0f);

    EXPECT_FLOAT_EQ(UniformFloat(program, "u_resolution", 0), 800.0f);
    EXPECT_FLOAT_EQ(UniformFloat(program, "u_resolution", 1), 600.0f);
    renderer.SetSize(1024, 768);
    manager.Begin(effect);
    manager.End();
    EXPECT_FLOAT_EQ(UniformFloat(program, "u_resolution", 0), 1024.0f);
    EXPECT_FLOAT_EQ(UniformFloat(program, "u_resolution", 1), 768.0f);
}

class PostProcessResizeTest : public PostProcessManagerTest {
protected:
    PostProcessResizeTest() : PostProcessManagerTest(1024, 768) {}
};

TEST_F(PostProcessResizeTest, ResizeRebuildsTheImageAtTheNewSizeAndItStillCoversTheWindow) {
    Ostrel::GLRenderFrameBuffer* target = Target();
    Ostrel::IGeometryBuffer* quad = target->quad;
    ASSERT_EQ(renderer.GetWidth(), 800);

    window.Resize(1024, 768);

    EXPECT_EQ(target->quad, quad);
    EXPECT_EQ(TextureSize(target->colorTexture), std::make_pair(1024, 768));
    Frame(MakeEffect(kPassThrough), Quadrants(1024, 768), 1024, 768);
    ExpectQuadrants(1024, 768);
}

TEST_F(PostProcessResizeTest, DestroyedTargetIgnoresResizesAndInitializeRebuildsIt) {
    Ostrel::GLRenderFrameBuffer* target = Target();
    target->Destroy();
    EXPECT_EQ(target->state, Ostrel::LifecycleReleased);
    EXPECT_EQ(target->framebuffer, 0u);

    window.Resize(1024, 768);
    EXPECT_EQ(target->framebuffer, 0u);

    target->Initialize();
    ASSERT_NE(target->quad, nullptr);
    Frame(MakeEffect(kPassThrough), Quadrants(1024, 768), 1024, 768);
    ExpectQuadrants(1024, 768);
}

}  // namespace
