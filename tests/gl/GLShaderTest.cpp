// Shader programs: compile and link reports, editable uniforms, the fixed
// uniforms of the sprite and text programs.
#include "GLDeleteRecorder.h"
#include "GLTestContext.h"
#include "TempDir.h"
#include "core/FileReader.h"
#include "gl/GLShaderImplementation.h"
#include "gl/GLShaderUniform.h"
#include "gl/GLSpriteShader.h"
#include "gl/GLTextShader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

using namespace Ostrel;

namespace {

const char* kVertex = R"(#version 300 es
layout(location = 0) in vec2 a_position;
void main() { gl_Position = vec4(a_position, 0.0, 1.0); }
)";

// u_v is a vec3 the editable-uniform tests read back; u_f a float.
const char* kFragment = R"(#version 300 es
precision mediump float;
uniform vec3 u_v;
uniform float u_f;
uniform vec2 u_two;
out vec4 colour;
void main() { colour = vec4(u_v.x + u_f + u_two.x, u_v.y + u_two.y, u_v.z, 1.0); }
)";

const char* kBrokenFragment = R"(#version 300 es
precision mediump float;
out vec4 colour;
void main() { colour = vec4(1.0) +; }
)";

std::string ReadAsset(const std::string& path) {
    std::ifstream in(std::string(OSTREL_SOURCE_DIR) + "/" + path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

vec3 ReadVec3(GLuint program, const char* name) {
    vec3 v;
    glGetUniformfv(program, glGetUniformLocation(program, name), v.data());
    return v;
}

class ShaderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gl.Ok()); }
    OstrelTest::GLTestContext gl{64, 64};
};

TEST_F(ShaderTest, CompileErrorPrintsGLLogAndLoadingGoesOn) {
    GLShaderImplementation shader(kVertex, kBrokenFragment);
    testing::internal::CaptureStdout();
    shader.Load();
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string prefix = "An error occurred while compiling the shaders: \n";
    ASSERT_EQ(out.rfind(prefix, 0), 0u) << out;
    // GL's own log follows the prefix; Mesa names the offending line.
    const std::string log = out.substr(prefix.size(), out.find("Unable to initalize") - prefix.size());
    EXPECT_NE(log.find("0:4"), std::string::npos) << out;
    EXPECT_NE(log.find("error"), std::string::npos) << out;
    // Without a fragment stage the program cannot link, which is reported too.
    EXPECT_NE(out.find("Unable to initalize the shader program \n"), std::string::npos) << out;
    EXPECT_EQ(shader.state, LifecycleInitialised);
    EXPECT_TRUE(glIsProgram(shader.program));

    // CompileShader hands back the name of the object it deleted.
    testing::internal::CaptureStdout();
    const GLuint bad = CompileShader(GL_FRAGMENT_SHADER, kBrokenFragment);
    EXPECT_EQ(testing::internal::GetCapturedStdout().back(), '\n');
    EXPECT_NE(bad, 0u);
    EXPECT_FALSE(glIsShader(bad));
}

TEST_F(ShaderTest, ValidSourcesLinkSilentlyAndMakeTheProgramCurrent) {
    GLShaderImplementation shader(kVertex, kFragment);
    testing::internal::CaptureStdout();
    shader.Load();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), shader.program);
    GLint linked = 0;
    glGetProgramiv(shader.program, GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
}

TEST_F(ShaderTest, UnknownUniformNamesAreReported) {
    GLShaderImplementation shader(kVertex, kFragment);
    shader.CreateUniform("u_missing", Float);
    testing::internal::CaptureStdout();
    shader.Load();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Unable to resolve uniform location u_missing!\n");
    EXPECT_EQ(static_cast<GLShaderUniform*>(shader.GetUniform("u_missing"))->location, -1);
    // ResolveLocation leaves no program current.
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);

    testing::internal::CaptureStdout();
    EXPECT_LT(shader.GetUniformLocation("u_nothing", true), 0);
    EXPECT_LT(shader.GetUniformLocation("u_silent", false), 0);
    EXPECT_GE(shader.GetUniformLocation("u_v", true), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Unable to resolve uniform u_nothing!\n");
}

TEST_F(ShaderTest, EditableUniformsUploadInAscendingKeyOrder) {
    // Two keys for the same GLSL uniform: the one uploaded last wins, which
    // must be the greater key whatever order they were created in.
    for (bool greaterFirst : {true, false}) {
        GLShaderImplementation shader(kVertex, kFragment);
        ShaderUniform* greater = nullptr;
        ShaderUniform* smaller = nullptr;
        if (greaterFirst) {
            greater = shader.CreateUniform("u_v", Vec3, "u_scanlineSpeed");
            smaller = shader.CreateUniform("u_v", Vec3, "u_bendFactor");
        } else {
            smaller = shader.CreateUniform("u_v", Vec3, "u_bendFactor");
            greater = shader.CreateUniform("u_v", Vec3, "u_scanlineSpeed");
        }
        greater->value = vec3(0.25f, 0.5f, 0.75f);
        smaller->value = vec3(-1.0f, -2.0f, -3.0f);
        shader.Load();
        shader.Use();
        const vec3 v = ReadVec3(shader.program, "u_v");
        EXPECT_FLOAT_EQ(v.x, 0.25f) << "greater key created first: " << greaterFirst;
        EXPECT_FLOAT_EQ(v.y, 0.5f);
        EXPECT_FLOAT_EQ(v.z, 0.75f);
        std::vector<std::string> keys;
        for (auto& entry : *shader.GetUniforms()) keys.push_back(entry.first);
        EXPECT_EQ(keys, (std::vector<std::string>{"u_bendFactor", "u_scanlineSpeed"}));
    }
}

TEST_F(ShaderTest, UseUploadsEachTypeByItsComponents) {
    GLShaderImplementation shader(kVertex, kFragment);
    shader.CreateUniform("u_f", Float)->value = vec3(0.5f, 9.0f, 9.0f);
    shader.CreateUniform("u_two", Vec2)->value = vec3(0.125f, 0.375f, 9.0f);
    shader.CreateUniform("u_v", Vec3)->value = vec3(1.0f, 2.0f, 3.0f);
    shader.Load();
    shader.Use();
    GLfloat f = 0.0f;
    glGetUniformfv(shader.program, glGetUniformLocation(shader.program, "u_f"), &f);
    EXPECT_FLOAT_EQ(f, 0.5f);
    GLfloat two[2] = {};
    glGetUniformfv(shader.program, glGetUniformLocation(shader.program, "u_two"), two);
    EXPECT_FLOAT_EQ(two[0], 0.125f);
    EXPECT_FLOAT_EQ(two[1], 0.375f);
    const vec3 v = ReadVec3(shader.program, "u_v");
    EXPECT_FLOAT_EQ(v.z, 3.0f);

    // An unknown type code uploads nothing and says so.
    auto* odd = static_cast<GLShaderUniform*>(shader.GetUniform("u_f"));
    odd->type = static_cast<UniformType>(7);
    odd->value.x = -4.0f;
    testing::internal::CaptureStdout();
    shader.Use();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Unhandled type in Ostrel::GLShaderUniform::Use\n");
    glGetUniformfv(shader.program, glGetUniformLocation(shader.program, "u_f"), &f);
    EXPECT_FLOAT_EQ(f, 0.5f);
}

TEST_F(ShaderTest, CreateUniformPresetsSliderRangesByType) {
    GLShaderImplementation shader;
    struct Case {
        UniformType type;
        vec3 min, max;
    };
    const Case cases[] = {{Float, vec3(-1, 0, 0), vec3(1, 0, 0)},
                          {Vec2, vec3(-1, -1, 0), vec3(1, 1, 0)},
                          {Vec3, vec3(-1, -1, -1), vec3(1, 1, 1)},
                          {static_cast<UniformType>(3), vec3(0, 0, 0), vec3(0, 0, 0)}};
    for (Case c : cases) {
        const std::string name = "u_" + std::to_string(c.type);
        testing::internal::CaptureStdout();
        ShaderUniform* u = shader.CreateUniform(name, c.type);
        const std::string out = testing::internal::GetCapturedStdout();
        SCOPED_TRACE(name);
        EXPECT_EQ(out, c.type == 3 ? "Ostrel::GLShaderImplementation::CreateUniform unhandeled type\n" : "");
        EXPECT_EQ(shader.GetUniform(name), u);
        EXPECT_EQ(static_cast<GLShaderUniform*>(u)->name, name);
        EXPECT_EQ(static_cast<GLShaderUniform*>(u)->owner, &shader);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(u->value.data()[i], 0.0f) << i;
            EXPECT_EQ(u->min.data()[i], c.min.data()[i]) << i;
            EXPECT_EQ(u->max.data()[i], c.max.data()[i]) << i;
        }
    }
}

TEST_F(ShaderTest, UniformMapLookupsReplaceAndDoNotInsert) {
    GLShaderImplementation shader;
    EXPECT_EQ(shader.GetUniform("absent"), nullptr);
    EXPECT_TRUE(shader.GetUniforms()->empty());
    ShaderUniform* first = shader.CreateUniform("u_a", Float, "key");
    ShaderUniform* second = shader.CreateUniform("u_b", Vec3, "key");
    EXPECT_NE(first, second);
    EXPECT_EQ(shader.GetUniforms()->size(), 1u);
    EXPECT_EQ(shader.GetUniform("key"), second);
    shader.SetUniform("other", first);
    EXPECT_EQ(shader.GetUniform("other"), first);
    EXPECT_EQ(shader.GetUniforms()->size(), 2u);
}

TEST_F(ShaderTest, ProgramIsDeletedExactlyOnceAndReloadFreesTheOldOne) {
    OstrelTest::GLDeleteRecorder deletes;
    GLuint program = 0;
    {
        GLShaderImplementation shader(kVertex, kFragment);
        shader.Load();
        const GLuint first = shader.program;
        shader.Load();
        glUseProgram(0);
        EXPECT_TRUE(glIsProgram(shader.program));
        EXPECT_NE(shader.program, first);
        EXPECT_EQ(deletes.programs, (std::vector<GLuint>{first}));
        program = shader.program;
        shader.Unload();
        EXPECT_EQ(shader.state, LifecycleReleased);
        EXPECT_FALSE(glIsProgram(program));
        shader.Unload();
        EXPECT_EQ(deletes.programs, (std::vector<GLuint>{first, program}));
        // After Unload, Load starts over without deleting anything more.
        shader.Load();
        EXPECT_EQ(shader.state, LifecycleInitialised);
        EXPECT_EQ(deletes.programs.size(), 2u);
        program = shader.program;
        glUseProgram(0);
    }  // the destructor deletes the live program once
    EXPECT_EQ(deletes.programs.size(), 3u);
    EXPECT_EQ(deletes.programs.back(), program);
    EXPECT_FALSE(glIsProgram(program));

    {
        GLShaderImplementation shader(kVertex, kFragment);
        shader.Load();
        shader.Unload();
    }  // the destructor after Unload deletes nothing
    EXPECT_EQ(deletes.programs.size(), 4u);
}

// The sprite and text programs read fixed paths relative to the working
// directory, so each case lays out its own asset tree.
class FixedShaderTest : public ShaderTest {
protected:
    void WriteSprite(const std::string& vertex, const std::string& fragment) {
        dir.Write("assets/framework/shaders/sprite/sprite_v_es.glsl", vertex);
        dir.Write("assets/framework/shaders/sprite/sprite_f_es.glsl", fragment);
    }
    OstrelTest::TempDir dir;
    FileReader files;
};

TEST_F(FixedShaderTest, ShippedFilesLoadWithoutAMessage) {
    FileReader reader;
    GLSpriteShader sprite(&reader);
    GLTextShader text(&reader);
    testing::internal::CaptureStdout();
    sprite.Load();
    text.Load();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_GE(sprite.colourLocation, 0);
    EXPECT_GE(text.colourLocation, 0);
    EXPECT_NE(sprite.projectionLocation, sprite.viewLocation);
    EXPECT_NE(text.transformLocation, text.colourLocation);
    sprite.Unload();
    text.Unload();
}

TEST_F(FixedShaderTest, DeclaredButUnusedTintIsReportedAndSettingItDoesNothing) {
    std::string fragment = ReadAsset("assets/framework/shaders/sprite/sprite_f_es.glsl");
    const std::string use = "* u_tint_color";
    const size_t at = fragment.find(use);
    ASSERT_NE(at, std::string::npos);
    fragment.erase(at, use.size());
    WriteSprite(ReadAsset("assets/framework/shaders/sprite/sprite_v_es.glsl"), fragment);
    OstrelTest::ScopedChdir inside(dir.Path());

    GLSpriteShader sprite(&files);
    testing::internal::CaptureStdout();
    sprite.Load();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Unable to resolve uniform u_tint_color!\n");
    EXPECT_LT(sprite.colourLocation, 0);
    EXPECT_GE(sprite.transformLocation, 0);
    sprite.Use();
    const vec4 tint(1, 0, 0, 1);
    sprite.SetTint(&tint);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    sprite.Unload();
}

TEST_F(FixedShaderTest, MissingTextFragmentFileReportsAndSpritesStillLoad) {
    WriteSprite(ReadAsset("assets/framework/shaders/sprite/sprite_v_es.glsl"),
                ReadAsset("assets/framework/shaders/sprite/sprite_f_es.glsl"));
    dir.Write("assets/framework/shaders/text/text_v_es.glsl",
              ReadAsset("assets/framework/shaders/text/text_v_es.glsl"));
    OstrelTest::ScopedChdir inside(dir.Path());

    GLTextShader text(&files);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    text.Load();
    const std::string out = testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
    EXPECT_NE(out.find("text_f_es.glsl"), std::string::npos) << out;
    EXPECT_NE(out.find("Unable to initalize the shader program"), std::string::npos) << out;
    EXPECT_NE(out.find("Unable to resolve uniform u_color!"), std::string::npos) << out;

    GLSpriteShader sprite(&files);
    testing::internal::CaptureStdout();
    sprite.Load();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    GLint linked = 0;
    glGetProgramiv(sprite.implementation->program, GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
    text.Unload();
    sprite.Unload();
}

TEST_F(FixedShaderTest, SettersWriteTheFixedUniformsOfTheCurrentProgram) {
    FileReader reader;
    GLSpriteShader sprite(&reader);
    sprite.Load();
    sprite.Use();
    mat4 projection, view, model;
    for (int i = 0; i < 16; ++i) {
        projection.m[i] = static_cast<float>(i);
        view.m[i] = static_cast<float>(100 + i);
        model.m[i] = static_cast<float>(-i);
    }
    const vec4 tint(0.1f, 0.2f, 0.3f, 0.4f);
    sprite.SetProjectionView(&projection, &view);
    sprite.SetTransform(&model);
    sprite.SetTint(&tint);
    const GLuint program = sprite.implementation->program;
    float got[16];
    glGetUniformfv(program, sprite.projectionLocation, got);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(got[i], projection.m[i]);
    glGetUniformfv(program, sprite.viewLocation, got);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(got[i], view.m[i]);
    glGetUniformfv(program, sprite.transformLocation, got);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(got[i], model.m[i]);
    glGetUniformfv(program, sprite.colourLocation, got);
    EXPECT_FLOAT_EQ(got[3], 0.4f);
    sprite.Unload();
}

}  // namespace
