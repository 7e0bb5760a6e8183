// Programs, uniforms, vertex arrays and the texture manager, each judged by what it draws.
#include "GLTestContext.h"
#include "gl/GLEffectShader.h"
#include "gl/GLRenderFrameBuffer.h"
#include "gl/GLShaderImplementation.h"
#include "gl/GLTexture2D.h"
#include "gl/GLVao.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

using namespace Ostrel;

namespace {

const char* const kVertex =
    "#version 300 es\nlayout(location = 0) in vec2 a_position;\nout vec2 v_position;\n"
    "void main() { v_position = a_position; gl_Position = vec4(a_position, 0.0, 1.0); }";
const char* const kFragment =
    "#version 300 es\nprecision mediump float;\nuniform float u_red;\nuniform vec2 u_greenBlue;\n"
    "uniform vec3 u_scale;\nout vec4 colour;\n"
    "void main() { colour = vec4(u_red, u_greenBlue, 1.0) * vec4(u_scale, 1.0); }";

class Resources : public OstrelTest::GLScene {};

TEST_F(Resources, BrokenProgramsReportAndAReloadDrawsBothVertexArrayKinds) {
    struct Broken {
        const char* name;
        std::string vertex, fragment, message;
    };
    const Broken rows[] = {
        {"compile", "#version 300 es\nvoid main() { gl_Position = undeclared; }", kFragment,
         "An error occurred while compiling the shaders"},
        // Each stage compiles, but the fragment stage reads a vec3 the vertex stage writes as a vec2.
        {"link", kVertex,
         "#version 300 es\nprecision mediump float;\nin vec3 v_position;\nout vec4 colour;\n"
         "void main() { colour = vec4(v_position, 1.0); }",
         "Unable to initalize the shader program"},
    };
    for (const Broken& row : rows) {
        SCOPED_TRACE(row.name);
        GLShaderImplementation shader(row.vertex, row.fragment);
        testing::internal::CaptureStdout();
        shader.Load();
        shader.Use();
        EXPECT_NE(testing::internal::GetCapturedStdout().find(row.message), std::string::npos);

        // The same object recovers with good sources, releasing the broken program.
        const GLuint broken = shader.program;
        shader.LoadProgram(kVertex, kFragment);
        EXPECT_FALSE(glIsProgram(broken));
        ShaderUniform* red = shader.CreateUniform("u_red", Float);
        ShaderUniform* greenBlue = shader.CreateUniform("u_greenBlue", Vec2);
        ShaderUniform* scale = shader.CreateUniform("u_scale", Vec3, "tint");
        for (ShaderUniform* u : {red, greenBlue, scale}) u->ResolveLocation();

        // Left half: one interleaved buffer drawn as a strip; right half: a
        // position buffer plus 16-bit indices. Each in its own colour.
        const float strip[] = {-1, -1, -1, 1, 0, -1, 0, 1}, corners[] = {0, -1, 0, 1, 1, 1, 1, -1};
        const uint16_t indices[] = {0, 1, 2, 0, 2, 3};
        GLVao left(InterleavedBufferDescription{sizeof(strip), strip, GL_STATIC_DRAW, {{0, 2, GL_FLOAT, 0}}});
        GLVao right({VertexAttribute{false, 0, 2, GL_FLOAT, corners, 8, GL_STATIC_DRAW}},
                    IndexBufferDescription{indices, GL_UNSIGNED_SHORT, 6, GL_STATIC_DRAW});
        const auto paint = [&](GLVao& vao, float r, vec3 gb, vec3 s) {
            red->value = vec3(r, 0, 0);
            greenBlue->value = gb;
            scale->value = s;
            shader.Use();
            vao.Bind();
            vao.Draw();
        };
        paint(left, 1.0f, vec3(0.5f, 0, 0), vec3(1, 1, 1));
        paint(right, 0.0f, vec3(1, 1, 0), vec3(1, 0.5f, 1));
        glBindVertexArray(0);
        for (int x : {5, 395}) EXPECT_TRUE(At(x, 300).Near(255, 128, 0)) << x << ": " << At(x, 300);
        for (int x : {405, 795}) EXPECT_TRUE(At(x, 5).Near(0, 128, 255)) << x << ": " << At(x, 5);
        for (int x : {405, 795}) EXPECT_TRUE(At(x, 595).Near(0, 128, 255)) << x << ": " << At(x, 595);
        left.Destroy();
        right.Destroy();
        shader.Unload();
        programs.push_back(shader.program);
        for (const GLVao* vao : {&left, &right}) {
            EXPECT_FALSE(glIsVertexArray(vao->vao));
            for (GLuint buffer : vao->vertexBuffers) EXPECT_FALSE(glIsBuffer(buffer));
        }
        EXPECT_FALSE(glIsBuffer(right.indexBuffer));
    }
}

// Effects read the resolution, time and random value from fixed uniform
// names; the resolution sits at location 0, the first one GL hands out.
TEST_F(Resources, EffectShaderUploadsItsStandardInputs) {
    GLEffectShader effect("#version 310 es\nin vec2 p;\nvoid main() { gl_Position = vec4(p, 0, 1); }",
                          "#version 310 es\nprecision highp float;\nlayout(location = 0) uniform vec2 u_resolution;\n"
                          "uniform float u_time, u_random;\nout vec4 c;\n"
                          "void main() { c = vec4(u_resolution, u_time, u_random); }");
    effect.Load();
    effect.Use();
    effect.SetResolution(ivec2(800, 600));
    effect.SetTime(2.5f);
    effect.SetRandom(0.25f);
    const GLuint program = effect.implementation->program;
    std::vector<float> read(4);
    glGetUniformfv(program, glGetUniformLocation(program, "u_resolution"), &read[0]);
    glGetUniformfv(program, glGetUniformLocation(program, "u_time"), &read[2]);
    glGetUniformfv(program, glGetUniformLocation(program, "u_random"), &read[3]);
    EXPECT_EQ(read, std::vector<float>({800, 600, 2.5f, 0.25f}));
}

// The offscreen target replaces its colour texture when the window is resized, and releases every object it made.
TEST_F(Resources, OffscreenTargetFollowsTheWindowAndReleasesWhatItMade) {
    GLRenderFrameBuffer target(&window, &renderer);
    target.Initialize();
    std::vector<GLuint> framebuffers = {target.framebuffer};
    pictures.push_back(target.colorTexture);
    window.Resize(1024, 768);
    framebuffers.push_back(target.framebuffer);
    pictures.push_back(target.colorTexture);
    arrays.push_back(static_cast<GLVao*>(target.quad)->vao);
    const GLuint depth = target.renderbuffer;
    target.Destroy();
    for (GLuint id : framebuffers) EXPECT_FALSE(glIsFramebuffer(id)) << id;
    EXPECT_FALSE(glIsRenderbuffer(depth));
}

// Hands out one picture, a fresh copy per load, with the channel count given.
class OneImageLoader final : public IImageLoader {
public:
    std::vector<uint8_t> pixels;
    unsigned width = 1, height = 1, channels = 4;
    ImageData* LoadImage(std::string, int) override {
        auto* copy = static_cast<uint8_t*>(std::malloc(pixels.size()));
        std::memcpy(copy, pixels.data(), pixels.size());
        return new ImageData(copy, width, height, channels);
    }
    ImageData* LoadImage(std::string path) override { return LoadImage(path, 0); }
};

TEST_F(Resources, TextureManagerKeepsTexturesByKeyAndWidensNarrowPixels) {
    OneImageLoader loader;
    GLTextureManager manager(&loader);

    loader.pixels = {255, 0, 0, 255};
    ITexture2D* first = manager.LoadTexture("a.png", "card");
    EXPECT_EQ(manager.GetTexture("card"), first);
    std::string key;
    EXPECT_TRUE(manager.FindKey(first, &key));
    EXPECT_EQ(key, "card");
    const GLuint firstId = static_cast<GLTexture2D*>(first)->id;
    loader.pixels = {255, 0, 0, 255, 0, 255, 0, 255};  // red | green, filtered linearly by default
    loader.width = 2;
    ITexture2D* second = manager.LoadTexture("b.png", "card");
    loader.width = 1;
    EXPECT_EQ(manager.GetTexture("card"), second);
    EXPECT_FALSE(glIsTexture(firstId)) << "the replaced texture is released";
    EXPECT_THROW(manager.UnloadTexture("never loaded"), std::out_of_range);

    // Pictures narrower than the format asked for: grey fills the colour channels, a missing alpha is opaque.
    struct Narrow {
        std::vector<uint8_t> pixels;
        unsigned channels;
        int format, r, g, b;
    };
    const Narrow rows[] = {{{10, 120, 240}, 3, 4, 10, 120, 240},
                           {{200}, 1, 3, 200, 200, 200},
                           {{80, 255}, 2, 4, 80, 80, 80},
                           {{90, 0}, 2, 4, 0, 0, 0}};
    sprites.Begin(0);
    for (const Narrow& row : rows) {
        loader.pixels = row.pixels;
        loader.channels = row.channels;
        TextureParameters params(0);
        params.channels = row.format;
        const int x = static_cast<int>(&row - rows) * 100;
        sprites.DrawSprite(manager.LoadTexture("narrow.png", std::to_string(x), params), ivec4(x, 0, 50, 50));
        EXPECT_TRUE(At(x + 25, 25).Near(row.r, row.g, row.b)) << x << ": " << At(x + 25, 25);
    }
    sprites.DrawSprite(manager.GetTexture("card"), ivec4(500, 0, 100, 50));
    EXPECT_TRUE(At(595, 25).Near(0, 255, 0)) << At(595, 25);
    EXPECT_NEAR(At(550, 25).g, 128, 16) << "the two texels blend midway";
    for (const auto& entry : manager.textures) pictures.push_back(static_cast<GLTexture2D*>(entry.second)->id);
    manager.Shutdown();
}

}  // namespace
