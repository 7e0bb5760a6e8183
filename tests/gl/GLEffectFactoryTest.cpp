// The effect factory: which files, textures and tunables each effect gets,
// what the CRT effect uploads before anyone edits it, and how a missing
// shader file is survived.
#include "GLTestContext.h"
#include "RecordingTexture.h"
#include "RecordingTextureManager.h"
#include "RecordingWindowManager.h"
#include "TempDir.h"
#include "core/FileReader.h"
#include "gl/EffectInstance.h"
#include "gl/GLESRenderer_3_1.h"
#include "gl/GLEffectFactory.h"
#include "gl/GLEffectShader.h"
#include "gl/GLPostProcessManager.h"
#include "gl/GLShaderImplementation.h"
#include "gl/GLTexture2D.h"
#include "gl/GLTextureManager.h"
#include "sdl/SDLTimeManager.h"
#include "sdl/STBImageLoader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

using Ostrel::EffectInstance;
using Ostrel::GLEffectShader;

GLEffectShader* ShaderOf(EffectInstance* effect) {
    return static_cast<GLEffectShader*>(effect->GetShader());
}

void ExpectVec3(const Ostrel::vec3& v, float x, float y, float z, const std::string& what) {
    EXPECT_FLOAT_EQ(v.x, x) << what;
    EXPECT_FLOAT_EQ(v.y, y) << what;
    EXPECT_FLOAT_EQ(v.z, z) << what;
}

class GLEffectFactoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl.Ok());
        textures.Initialize();
    }

    void TearDown() override {
        effects.clear();
        textures.Shutdown();
    }

    EffectInstance* Keep(EffectInstance* effect) {
        effects.emplace_back(effect);
        return effect;
    }

    OstrelTest::GLTestContext gl{320, 240};
    OstrelTest::RecordingWindowManager window;
    Ostrel::GLESRenderer_3_1 renderer{&window};
    Ostrel::SDLTimeManager time{60};
    Ostrel::FileReader reader;
    Ostrel::STBImageLoader loader;
    Ostrel::GLTextureManager textures{&loader};
    Ostrel::GLEffectFactory factory{&reader, &renderer, &time, &textures};
    std::vector<std::unique_ptr<EffectInstance>> effects;
};

TEST_F(GLEffectFactoryTest, EffectsComeUnloadedWithTheFactoryRendererAndClock) {
    EffectInstance* effect = Keep(factory.CreateGrayscaleEffect());
    EXPECT_EQ(effect->renderer, &renderer);
    EXPECT_EQ(effect->timeManager, &time);
    GLEffectShader* shader = ShaderOf(effect);
    EXPECT_EQ(shader->implementation->program, 0u);
    EXPECT_NE(shader->vertexSource.find("#version 300 es"), std::string::npos);
    EXPECT_NE(shader->fragmentSource.find("u_texture0"), std::string::npos);
}

TEST_F(GLEffectFactoryTest, EveryEffectFileCompilesAndLinksWithoutAWord) {
    EffectInstance* all[] = {Keep(factory.CreateGrayscaleEffect()), Keep(factory.CreateOrderedDitherEffect()),
                             Keep(factory.CreateChromaticAberrationEffect()), Keep(factory.CreateCRTEffect()),
                             Keep(factory.CreateTexelColorEffect())};
    for (EffectInstance* effect : all) {
        ::testing::internal::CaptureStdout();
        effect->Initialize();
        // Silence also proves every tunable is an active uniform of its program.
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
        GLint linked = 0;
        glGetProgramiv(ShaderOf(effect)->implementation->program, GL_LINK_STATUS, &linked);
        EXPECT_EQ(linked, GL_TRUE);
        EXPECT_GE(ShaderOf(effect)->textureLocations[0], 0) << "every effect reads the scene";
    }
}

TEST_F(GLEffectFactoryTest, PlainEffectsHaveNoTunablesAndNoTextures) {
    for (EffectInstance* effect : {Keep(factory.CreateGrayscaleEffect()), Keep(factory.CreateOrderedDitherEffect()),
                                   Keep(factory.CreateChromaticAberrationEffect())}) {
        EXPECT_TRUE(effect->GetShader()->GetUniforms()->empty());
        for (Ostrel::ITexture2D* texture : ShaderOf(effect)->textures) EXPECT_EQ(texture, nullptr);
    }
}

TEST_F(GLEffectFactoryTest, CrtTunablesHaveTheirDefaultsAndRanges) {
    EffectInstance* effect = Keep(factory.CreateCRTEffect());
    auto* uniforms = effect->GetShader()->GetUniforms();
    ASSERT_EQ(uniforms->size(), 7u);

    struct Expected {
        const char* name;
        Ostrel::UniformType type;
        float value, valueY, min, max;
    };
    const Expected expected[] = {
        {"u_redOffset", Ostrel::Vec2, -0.004f, 0.0f, -0.01f, 0.01f},
        {"u_greenOffset", Ostrel::Vec2, 0.0f, 0.0f, -0.01f, 0.01f},
        {"u_blueOffset", Ostrel::Vec2, 0.004f, 0.0f, -0.01f, 0.01f},
        {"u_bendFactor", Ostrel::Float, 4.0f, 0.0f, 3.0f, 5.0f},
        {"u_scanlineSpeed", Ostrel::Float, -0.08f, 0.0f, -0.2f, 0.2f},
        {"u_scanlineMixStrength", Ostrel::Float, 0.05f, 0.0f, -1.0f, 1.0f},
        {"u_noiseMixStrength", Ostrel::Float, 0.05f, 0.0f, -1.0f, 1.0f},
    };
    for (const Expected& e : expected) {
        Ostrel::ShaderUniform* u = effect->GetShader()->GetUniform(e.name);
        ASSERT_NE(u, nullptr) << e.name;
        EXPECT_EQ(u->type, e.type) << e.name;
        const bool two = e.type == Ostrel::Vec2;
        ExpectVec3(u->value, e.value, e.valueY, 0.0f, std::string(e.name) + " value");
        ExpectVec3(u->min, e.min, two ? e.min : 0.0f, 0.0f, std::string(e.name) + " min");
        ExpectVec3(u->max, e.max, two ? e.max : 0.0f, 0.0f, std::string(e.name) + " max");
    }
}

TEST_F(GLEffectFactoryTest, NewCrtEffectUploadsItsDefaultsAndPutsItsTexturesOnUnitsOneToThree) {
    EffectInstance* effect = Keep(factory.CreateCRTEffect());
    effect->Initialize();
    GLEffectShader* shader = ShaderOf(effect);
    EXPECT_EQ(shader->textures[0], nullptr);
    EXPECT_EQ(shader->textures[1], textures.GetTexture("crt_scanlines"));
    EXPECT_EQ(shader->textures[2], textures.GetTexture("crt_vignette"));
    EXPECT_EQ(shader->textures[3], textures.GetTexture("crt_perlin"));

    effect->Apply();

    const GLuint program = shader->implementation->program;
    auto read = [program](const char* name) {
        std::vector<float> v(2, NAN);
        glGetUniformfv(program, glGetUniformLocation(program, name), v.data());
        return v;
    };
    EXPECT_FLOAT_EQ(read("u_bendFactor")[0], 4.0f);
    EXPECT_FLOAT_EQ(read("u_scanlineSpeed")[0], -0.08f);
    EXPECT_FLOAT_EQ(read("u_redOffset")[0], -0.004f);
    EXPECT_FLOAT_EQ(read("u_redOffset")[1], 0.0f);
    EXPECT_FLOAT_EQ(read("u_greenOffset")[0], 0.0f);
    EXPECT_FLOAT_EQ(read("u_blueOffset")[0], 0.004f);
    EXPECT_FLOAT_EQ(read("u_blueOffset")[1], 0.0f);

    const char* keys[] = {"crt_scanlines", "crt_vignette", "crt_perlin"};
    for (int unit = 1; unit <= 3; ++unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        auto* expected = static_cast<Ostrel::GLTexture2D*>(textures.GetTexture(keys[unit - 1]));
        EXPECT_EQ(bound, static_cast<GLint>(expected->id)) << keys[unit - 1];
        const std::string sampler = "u_texture" + std::to_string(unit);
        GLint value = -1;
        glGetUniformiv(program, glGetUniformLocation(program, sampler.c_str()), &value);
        EXPECT_EQ(value, unit) << sampler;
    }
    GLint scene = -1;
    glGetUniformiv(program, glGetUniformLocation(program, "u_texture0"), &scene);
    EXPECT_EQ(scene, 0) << "an empty slot 0 leaves the sampler on the scene's unit";
    glActiveTexture(GL_TEXTURE0);
}

TEST_F(GLEffectFactoryTest, TexturesAreLoadedWithTheirKeysFilesAndParameters) {
    OstrelTest::RecordingTextureManager recording;
    Ostrel::GLEffectFactory recordingFactory(&reader, &renderer, &time, &recording);
    EffectInstance* crt = Keep(recordingFactory.CreateCRTEffect());
    EffectInstance* palette = Keep(recordingFactory.CreateTexelColorEffect());

    const std::vector<std::string> paths = {
        "assets/framework/textures/crt/scanlines.png", "assets/framework/textures/crt/vignette.png",
        "assets/framework/textures/crt/perlin.png", "assets/framework/textures/texel_color/gameboy_colors.png"};
    EXPECT_EQ(recording.loadedPaths, paths);

    struct Expected {
        const char* key;
        int channels, filter, clamp, mode;
    };
    const Expected expected[] = {{"crt_scanlines", -1, 1, 0, 0},
                                 {"crt_vignette", 4, 1, 1, 1},
                                 {"crt_perlin", 4, 1, 0, 1},
                                 {"texel_color_input_texture", -1, 1, 1, 0}};
    for (const Expected& e : expected) {
        auto* texture = static_cast<OstrelTest::RecordingTexture*>(recording.GetTexture(e.key));
        ASSERT_NE(texture, nullptr) << e.key;
        EXPECT_EQ(texture->params.channels, e.channels) << e.key;
        EXPECT_EQ(texture->params.filter, e.filter) << e.key;
        EXPECT_EQ(texture->params.clampToEdge, e.clamp) << e.key;
        EXPECT_EQ(texture->params.loadMode, e.mode) << e.key;
    }
    EXPECT_EQ(ShaderOf(crt)->textures[2], recording.GetTexture("crt_vignette"));
    EXPECT_EQ(ShaderOf(palette)->textures[1], recording.GetTexture("texel_color_input_texture"));
    EXPECT_EQ(ShaderOf(palette)->textures[2], nullptr);
    // The effects must not outlive the recording manager's textures.
    effects.clear();
}

TEST_F(GLEffectFactoryTest, ASecondEffectOfAKindLeavesTheFirstOnesTexturesAlive) {
    OstrelTest::RecordingTextureManager recording;
    Ostrel::GLEffectFactory recordingFactory(&reader, &renderer, &time, &recording);
    EffectInstance* firstCrt = Keep(recordingFactory.CreateCRTEffect());
    EffectInstance* firstPalette = Keep(recordingFactory.CreateTexelColorEffect());
    EffectInstance* secondCrt = Keep(recordingFactory.CreateCRTEffect());
    EffectInstance* secondPalette = Keep(recordingFactory.CreateTexelColorEffect());

    EXPECT_TRUE(recording.deleted.empty()) << "no effect may be left holding a deleted texture";
    for (int slot = 1; slot <= 3; ++slot) {
        ASSERT_NE(ShaderOf(firstCrt)->textures[slot], nullptr) << slot;
        EXPECT_EQ(ShaderOf(secondCrt)->textures[slot], ShaderOf(firstCrt)->textures[slot]) << slot;
    }
    EXPECT_EQ(ShaderOf(secondPalette)->textures[1], ShaderOf(firstPalette)->textures[1]);
    EXPECT_EQ(ShaderOf(firstCrt)->textures[1], recording.GetTexture("crt_scanlines"));
    EXPECT_EQ(recording.loadedPaths.size(), 4u) << "each picture is read once";
    effects.clear();
}

TEST_F(GLEffectFactoryTest, PaletteWeightsAreLuminanceWithSlidersFromZeroToOne) {
    EffectInstance* effect = Keep(factory.CreateTexelColorEffect());
    auto* uniforms = effect->GetShader()->GetUniforms();
    ASSERT_EQ(uniforms->size(), 1u);
    Ostrel::ShaderUniform* weights = effect->GetShader()->GetUniform("u_weights");
    ASSERT_NE(weights, nullptr);
    EXPECT_EQ(weights->type, Ostrel::Vec3);
    ExpectVec3(weights->value, 0.2126f, 0.7152f, 0.0722f, "value");
    ExpectVec3(weights->min, 0.0f, 0.0f, 0.0f, "min");
    ExpectVec3(weights->max, 1.0f, 1.0f, 1.0f, "max");
}

TEST_F(GLEffectFactoryTest, ShaderFilesAreReadAtCreationNotAtInitialize) {
    OstrelTest::TempDir dir;
    const std::string effects = "assets/framework/shaders/effects/";
    const std::string vertex = reader.ReadFile(effects + "grayscale_v_es.glsl");
    const std::string fragment = reader.ReadFile(effects + "grayscale_f_es.glsl");
    ASSERT_FALSE(vertex.empty());
    dir.Write(effects + "grayscale_v_es.glsl", vertex);
    dir.Write(effects + "grayscale_f_es.glsl", fragment);

    EffectInstance* effect = nullptr;
    {
        OstrelTest::ScopedChdir inside(dir.Path());
        effect = Keep(factory.CreateGrayscaleEffect());
        dir.Write(effects + "grayscale_f_es.glsl", "this is not a shader");
    }
    ::testing::internal::CaptureStdout();
    effect->Initialize();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

TEST_F(GLEffectFactoryTest, MissingShaderFileIsReportedAndTheFrameGoesOn) {
    OstrelTest::TempDir empty;
    Ostrel::GLPostProcessManager manager(&window, &renderer);
    manager.Initialize();

    EffectInstance* effect = nullptr;
    {
        OstrelTest::ScopedChdir inside(empty.Path());
        ::testing::internal::CaptureStderr();
        ::testing::internal::CaptureStdout();
        effect = Keep(factory.CreateChromaticAberrationEffect());
        const std::string said = ::testing::internal::GetCapturedStdout() + ::testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("Could not open the file - 'assets/framework/shaders/effects/"
                            "chromatic_aberration_v_es.glsl'"),
                  std::string::npos)
            << said;
        EXPECT_NE(said.find("Could not open the file - 'assets/framework/shaders/effects/"
                            "chromatic_aberration_f_es.glsl'"),
                  std::string::npos)
            << said;
    }
    ASSERT_NE(effect, nullptr);
    EXPECT_TRUE(ShaderOf(effect)->vertexSource.empty());

    ::testing::internal::CaptureStdout();
    effect->Initialize();
    const std::string report = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(report.find("An error occurred while compiling the shaders: \n"), std::string::npos) << report;
    EXPECT_NE(report.find("Unable to initalize the shader program \n"), std::string::npos) << report;

    // The frame still runs all its steps and the window stays usable.
    renderer.BeginFrame();
    manager.Begin(effect);
    manager.End();
    EXPECT_EQ(manager.currentEffect, nullptr);
    GLint bound = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    EXPECT_EQ(bound, 0);
}

}  // namespace
