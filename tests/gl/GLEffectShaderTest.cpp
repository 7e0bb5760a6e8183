// The effect shader's fixed inputs on a real context: locations resolved at
// Load, uploads, and the texture slots bound to their own units only when
// both the texture and its sampler exist.
#include "GLTestContext.h"
#include "RecordingTexture.h"
#include "gl/GLEffectShader.h"
#include "gl/GLShaderImplementation.h"
#include "gl/GLTexture2D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace {

const char* const kVertex = R"(#version 300 es
layout(location = 0) in vec3 a_position;
layout(location = 1) in vec2 a_uv;
out vec2 v_uv;
void main() { v_uv = a_uv; gl_Position = vec4(a_position, 1.0); }
)";

// Uses every standard input except "u_texture1", plus one tunable.
const char* const kAllButTexture1 = R"(#version 300 es
precision highp float;
in vec2 v_uv;
out vec4 fragColor;
uniform sampler2D u_texture0;
uniform sampler2D u_texture2;
uniform sampler2D u_texture3;
uniform vec2 u_resolution;
uniform float u_time;
uniform float u_random;
uniform vec3 u_tint;
void main() {
    vec3 c = texture(u_texture0, v_uv).rgb + texture(u_texture2, v_uv).rgb + texture(u_texture3, v_uv).rgb;
    fragColor = vec4(c * u_tint + vec3(u_time, u_random, u_resolution.x + u_resolution.y), 1.0);
}
)";

// The scene only: no time, no random, no resolution.
const char* const kSceneOnly = R"(#version 300 es
precision highp float;
in vec2 v_uv;
out vec4 fragColor;
uniform sampler2D u_texture0;
void main() { fragColor = vec4(texture(u_texture0, v_uv).rgb, 1.0); }
)";

GLint ActiveUnit() {
    GLint unit = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    return unit;
}

GLint BoundOn(GLenum unit) {
    const GLint previous = ActiveUnit();
    glActiveTexture(unit);
    GLint name = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    glActiveTexture(static_cast<GLenum>(previous));
    return name;
}

class GLEffectShaderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gl.Ok()); }

    GLint Sampler(Ostrel::GLEffectShader& shader, const char* name) {
        GLint value = -1;
        glGetUniformiv(shader.implementation->program, glGetUniformLocation(shader.implementation->program, name),
                       &value);
        return value;
    }

    OstrelTest::GLTestContext gl{64, 64};
    const unsigned char white[4] = {255, 255, 255, 255};
};

TEST_F(GLEffectShaderTest, LoadFindsOnlyTheInputsTheProgramUsesAndSaysNothing) {
    Ostrel::GLEffectShader shader(kVertex, kSceneOnly);
    EXPECT_EQ(shader.implementation->program, 0u) << "construction compiles nothing";

    ::testing::internal::CaptureStdout();
    shader.Load();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");

    EXPECT_GE(shader.textureLocations[0], 0);
    EXPECT_LT(shader.resolutionLocation, 0);
    EXPECT_LT(shader.timeLocation, 0);
    EXPECT_LT(shader.randomLocation, 0);
    for (int i = 1; i < 4; ++i) EXPECT_LT(shader.textureLocations[i], 0) << i;
    EXPECT_TRUE(shader.GetUniforms()->empty());
}

TEST_F(GLEffectShaderTest, UseUploadsTunablesThenSettersWriteTheFixedInputs) {
    Ostrel::GLEffectShader shader(kVertex, kAllButTexture1);
    Ostrel::ShaderUniform* tint = shader.CreateUniform("u_tint", Ostrel::Vec3);
    tint->value = Ostrel::vec3(0.25f, 0.5f, 0.75f);
    shader.Load();
    ASSERT_GE(shader.resolutionLocation, 0);
    ASSERT_GE(shader.timeLocation, 0);
    ASSERT_GE(shader.randomLocation, 0);

    shader.Use();
    shader.SetResolution(Ostrel::ivec2(800, 600));
    shader.SetTime(12.5f);
    shader.SetRandom(0.375f);

    const GLuint program = shader.implementation->program;
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), program);
    float v[3] = {NAN, NAN, NAN};
    glGetUniformfv(program, glGetUniformLocation(program, "u_tint"), v);
    EXPECT_FLOAT_EQ(v[0], 0.25f);
    EXPECT_FLOAT_EQ(v[1], 0.5f);
    EXPECT_FLOAT_EQ(v[2], 0.75f);
    glGetUniformfv(program, shader.resolutionLocation, v);
    EXPECT_FLOAT_EQ(v[0], 800.0f);
    EXPECT_FLOAT_EQ(v[1], 600.0f);
    glGetUniformfv(program, shader.timeLocation, v);
    EXPECT_FLOAT_EQ(v[0], 12.5f);
    glGetUniformfv(program, shader.randomLocation, v);
    EXPECT_FLOAT_EQ(v[0], 0.375f);
}

TEST_F(GLEffectShaderTest, BindTextureNeedsBothATextureAndItsSampler) {
    Ostrel::GLEffectShader shader(kVertex, kAllButTexture1);
    OstrelTest::RecordingTexture unused(white, 1, 1, Ostrel::TextureParameters(), 4);
    Ostrel::GLTexture2D third(white, 1, 1);
    shader.textures[1] = &unused;  // the program has no "u_texture1"
    shader.textures[3] = &third;   // slot 2 stays empty
    shader.Load();
    shader.Use();

    glActiveTexture(GL_TEXTURE5);
    shader.BindTexture1();
    EXPECT_EQ(unused.bindCount, 0);
    EXPECT_EQ(ActiveUnit(), GL_TEXTURE5);
    shader.BindTexture2();
    EXPECT_EQ(ActiveUnit(), GL_TEXTURE5);
    EXPECT_EQ(BoundOn(GL_TEXTURE2), 0);

    shader.BindTexture3();
    EXPECT_EQ(ActiveUnit(), GL_TEXTURE3);
    EXPECT_EQ(BoundOn(GL_TEXTURE3), static_cast<GLint>(third.id));
    EXPECT_EQ(Sampler(shader, "u_texture3"), 3);
}

TEST_F(GLEffectShaderTest, ReplacingASlotBetweenFramesBindsTheNewTexture) {
    Ostrel::GLEffectShader shader(kVertex, kAllButTexture1);
    Ostrel::GLTexture2D first(white, 1, 1);
    Ostrel::GLTexture2D second(white, 1, 1);
    shader.textures[3] = &first;
    shader.Load();

    shader.Use();
    shader.BindTexture3();
    EXPECT_EQ(BoundOn(GL_TEXTURE3), static_cast<GLint>(first.id));

    // The editor swaps slots through the interface.
    shader.SetTexture(3, &second);
    shader.SetTexture(4, &first);
    shader.SetTexture(-1, &first);
    EXPECT_EQ(shader.GetTexture(3), &second);
    EXPECT_EQ(shader.GetTexture(4), nullptr);
    EXPECT_EQ(shader.GetTexture(0), nullptr);
    shader.Use();
    shader.BindTexture0();
    shader.BindTexture3();
    EXPECT_EQ(BoundOn(GL_TEXTURE3), static_cast<GLint>(second.id));
    EXPECT_EQ(Sampler(shader, "u_texture3"), 3);
}

TEST_F(GLEffectShaderTest, UnloadDeletesTheProgramAndUnloadsTheSetTextures) {
    Ostrel::GLEffectShader shader(kVertex, kAllButTexture1);
    OstrelTest::RecordingTexture one(white, 1, 1, Ostrel::TextureParameters(), 4);
    OstrelTest::RecordingTexture three(white, 1, 1, Ostrel::TextureParameters(), 4);
    shader.textures[1] = &one;
    shader.textures[3] = &three;
    shader.Load();
    const GLuint program = shader.implementation->program;
    ASSERT_TRUE(glIsProgram(program));

    shader.Unload();
    glUseProgram(0);  // a current program is only flagged for deletion
    EXPECT_FALSE(glIsProgram(program));
    EXPECT_EQ(one.unloadCount, 1);
    EXPECT_EQ(three.unloadCount, 1);
    EXPECT_EQ(shader.textures[1], &one) << "the slots keep their textures";

    // Loading again links a fresh, working program.
    shader.Load();
    EXPECT_TRUE(glIsProgram(shader.implementation->program));
    EXPECT_GE(shader.timeLocation, 0);
}

TEST_F(GLEffectShaderTest, BrokenSourceIsReportedAndLoadStillCompletes) {
    Ostrel::GLEffectShader shader(kVertex, "#version 300 es\nvoid main() { this is not glsl }\n");
    ::testing::internal::CaptureStdout();
    shader.Load();
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("An error occurred while compiling the shaders: \n"), std::string::npos) << out;
    EXPECT_NE(out.find("Unable to initalize the shader program \n"), std::string::npos) << out;
    EXPECT_NE(shader.implementation->program, 0u);
    EXPECT_LT(shader.timeLocation, 0);

    // Every operation on the dead program is harmless.
    shader.Use();
    shader.SetResolution(Ostrel::ivec2(1, 1));
    shader.SetTime(1.0f);
    shader.SetRandom(0.5f);
    shader.BindTexture0();
}

}  // namespace
