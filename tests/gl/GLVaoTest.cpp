// Vertex arrays in both forms: what they upload, how they draw, how they die.
#include "GLDeleteRecorder.h"
#include "GLTestContext.h"
#include "TempDir.h"
#include "gl/GLShaderImplementation.h"
#include "gl/GLVao.h"
#include "gl/QuadMesh.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace Ostrel;

namespace {

const char* kVertex = R"(#version 300 es
layout(location = 0) in vec2 a_position;
void main() { gl_Position = vec4(a_position, 0.0, 1.0); }
)";
const char* kFragment = R"(#version 300 es
precision mediump float;
out vec4 colour;
void main() { colour = vec4(1.0); }
)";

// Six 2D vertices: the first four are a strip over the left half of clip
// space, the last two would widen it to the whole width.
const float kSixVertices[12] = {-1, -1, 0, -1, -1, 1, 0, 1, 1, -1, 1, 1};
const uint16_t kThreeIndices[3] = {0, 1, 2};
const VertexAttribute kPositions{false, 0, 2, GL_FLOAT, kSixVertices, 12};
const char* kUnknownSize = "Ostrel::GLVao::ResolveTypeSize: unknown size!\n";

InterleavedBufferDescription Interleaved(const void* data, uint32_t size, std::vector<AttributeLayout> layouts,
                                         GLenum usage = GL_STATIC_DRAW) {
    return InterleavedBufferDescription{size, data, usage, std::move(layouts)};
}

GLint BufferSize(GLuint buffer, GLenum target = GL_ARRAY_BUFFER) {
    if (target == GL_ARRAY_BUFFER) glBindBuffer(target, buffer);
    GLint size = -1;
    glGetBufferParameteriv(target, GL_BUFFER_SIZE, &size);
    return size;
}

GLint AttribInt(GLuint index, GLenum what) {
    GLint value = -1;
    glGetVertexAttribiv(index, what, &value);
    return value;
}

class VaoTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl.Ok());
        program = CreateShaderProgram(kVertex, kFragment);
        glUseProgram(program);
        glViewport(0, 0, gl.width, gl.height);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    void TearDown() override {
        if (HasFailure()) {
            gl.SavePng(OstrelTest::ExecutableDir() + "/VaoTest_" +
                       testing::UnitTest::GetInstance()->current_test_info()->name() + ".png");
        }
        glBindVertexArray(0);
        glUseProgram(0);
        glDeleteProgram(program);
        while (glGetError() != GL_NO_ERROR) {
        }
    }
    bool Lit(int x, int y) const { return gl.Pixel(x, y).r > 128; }

    OstrelTest::GLTestContext gl{64, 64};
    GLuint program = 0;
};

TEST_F(VaoTest, BuffersWithoutIndicesDrawExactlyFourVerticesAsAStrip) {
    // Interleaved and separate forms alike; only the separate one keeps an
    // (empty) index buffer.
    for (bool separate : {false, true}) {
        SCOPED_TRACE(separate ? "separate" : "interleaved");
        glClear(GL_COLOR_BUFFER_BIT);
        GLVao vao = separate ? GLVao({kPositions}, IndexBufferDescription{nullptr, GL_UNSIGNED_SHORT, 0})
                             : GLVao(Interleaved(kSixVertices, sizeof(kSixVertices), {{0, 2, GL_FLOAT, 0}}));
        EXPECT_EQ(vao.indexCount, 0u);
        EXPECT_EQ(vao.indexBuffer != 0u, separate);
        EXPECT_EQ(vao.dynamicBuffer, 0u);
        ASSERT_EQ(vao.vertexBuffers.size(), 1u);
        EXPECT_EQ(BufferSize(vao.vertexBuffers[0]), static_cast<GLint>(sizeof(kSixVertices)));
        vao.Bind();
        vao.Draw();
        EXPECT_TRUE(Lit(5, 32));
        EXPECT_TRUE(Lit(31, 5));
        EXPECT_FALSE(Lit(33, 32));
        EXPECT_FALSE(Lit(60, 60));
        glBindVertexArray(0);
        vao.Destroy();
    }
}

TEST_F(VaoTest, InterleavedStrideSumsAllLayoutsAndLeavesTheArrayBufferBound) {
    // Position (2 floats) then a byte pair at offset 8: stride 2*4 + 2*1 = 10.
    std::vector<uint8_t> data(40, 0);
    GLVao vao(Interleaved(data.data(), 40, {{0, 2, GL_FLOAT, 0}, {1, 2, GL_UNSIGNED_BYTE, 8}}, GL_DYNAMIC_DRAW));
    GLint bound = 0;
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), vao.vertexBuffers[0]);
    vao.Bind();
    void* offset = nullptr;
    glGetVertexAttribPointerv(1, GL_VERTEX_ATTRIB_ARRAY_POINTER, &offset);
    EXPECT_EQ(AttribInt(1, GL_VERTEX_ATTRIB_ARRAY_STRIDE), 10);
    EXPECT_EQ(AttribInt(1, GL_VERTEX_ATTRIB_ARRAY_ENABLED), GL_TRUE);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(offset), 8u);
    GLint usage = 0;
    glBindBuffer(GL_ARRAY_BUFFER, vao.vertexBuffers[0]);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_USAGE, &usage);
    EXPECT_EQ(usage, GL_DYNAMIC_DRAW);
    glBindVertexArray(0);
    vao.Destroy();

    // Without layouts the data is still uploaded, but nothing is enabled.
    GLVao bare(Interleaved(kSixVertices, sizeof(kSixVertices), {}));
    EXPECT_EQ(BufferSize(bare.vertexBuffers[0]), static_cast<GLint>(sizeof(kSixVertices)));
    bare.Bind();
    EXPECT_EQ(AttribInt(0, GL_VERTEX_ATTRIB_ARRAY_ENABLED), GL_FALSE);
    glBindVertexArray(0);
    bare.Destroy();
}

TEST_F(VaoTest, TypeSizesAndUnknownComponentTypePrintsItsLineAndCountsFourBytes) {
    GLVao empty(InterleavedBufferDescription{});
    const std::pair<GLenum, uint32_t> sizes[] = {{GL_BYTE, 1},           {GL_UNSIGNED_BYTE, 1}, {GL_SHORT, 2},
                                                 {GL_UNSIGNED_SHORT, 2}, {GL_INT, 4},           {GL_UNSIGNED_INT, 4},
                                                 {GL_FLOAT, 4}};
    for (const auto& [type, size] : sizes) EXPECT_EQ(empty.ResolveTypeSize(type), size) << "type " << type;
    empty.Destroy();

    std::vector<uint8_t> data(64, 0);
    testing::internal::CaptureStdout();
    GLVao vao(Interleaved(data.data(), 64, {{0, 2, 5127, 0}, {1, 3, GL_SHORT, 8}}));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), kUnknownSize);
    vao.Bind();
    EXPECT_EQ(AttribInt(1, GL_VERTEX_ATTRIB_ARRAY_STRIDE), 2 * 4 + 3 * 2);
    glBindVertexArray(0);
    vao.Destroy();

    // The separate form: once per unknown attribute and once for the index type.
    const float positions[8] = {};
    const uint8_t indexBytes[24] = {};
    testing::internal::CaptureStdout();
    GLVao separate({VertexAttribute{false, 0, 2, 5119, positions, 8}}, IndexBufferDescription{indexBytes, 5127, 6});
    EXPECT_EQ(testing::internal::GetCapturedStdout(), std::string(kUnknownSize) + kUnknownSize);
    EXPECT_EQ(BufferSize(separate.vertexBuffers[0]), 8 * 4);
    separate.Bind();
    EXPECT_EQ(BufferSize(0, GL_ELEMENT_ARRAY_BUFFER), 6 * 4);
    glBindVertexArray(0);
    separate.Destroy();
}

TEST_F(VaoTest, SeparateFormDrawsTheIndexedQuadAndRemembersTheDynamicBuffer) {
    QuadMesh mesh;
    float doubled[12];
    for (int i = 0; i < 12; ++i) doubled[i] = mesh.positions[i] * 2.0f;
    GLVao vao({VertexAttribute{true, 0, 3, GL_FLOAT, doubled, mesh.positionCount},
               VertexAttribute{false, 1, 2, GL_FLOAT, mesh.uvs, mesh.uvCount}},
              IndexBufferDescription{mesh.indices, GL_UNSIGNED_BYTE, mesh.indexCount});
    ASSERT_EQ(vao.vertexBuffers.size(), 2u);
    EXPECT_EQ(vao.dynamicBuffer, vao.vertexBuffers[0]);
    EXPECT_EQ(vao.indexCount, 6u);
    EXPECT_EQ(BufferSize(vao.vertexBuffers[0]), 48);
    EXPECT_EQ(BufferSize(vao.vertexBuffers[1]), 32);
    GLint bound = 0;
    vao.BindBuffer(1);
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), vao.vertexBuffers[1]);
    vao.Bind();
    vao.Draw();
    for (auto [x, y] : {std::pair{0, 0}, {63, 63}, {0, 63}, {63, 0}}) EXPECT_TRUE(Lit(x, y)) << x << ", " << y;
    glBindVertexArray(0);
    vao.Destroy();
}

TEST_F(VaoTest, UpdateBufferReplacesTheLeadingBytesOfTheBoundBuffer) {
    GLVao vao(Interleaved(kSixVertices, sizeof(kSixVertices), {{0, 2, GL_FLOAT, 0}}, GL_DYNAMIC_DRAW));
    // Move the strip to the right half.
    const float right[8] = {0, -1, 1, -1, 0, 1, 1, 1};
    vao.BindBuffer(0);
    vao.UpdateBuffer(right, sizeof(right));
    vao.Bind();
    vao.Draw();
    EXPECT_FALSE(Lit(5, 32));
    EXPECT_TRUE(Lit(40, 32));
    // The bytes past the update are untouched.
    vao.BindBuffer(0);
    const auto* mapped = static_cast<const float*>(glMapBufferRange(GL_ARRAY_BUFFER, 0, 48, GL_MAP_READ_BIT));
    ASSERT_NE(mapped, nullptr);
    EXPECT_EQ(std::memcmp(mapped, right, sizeof(right)), 0);
    EXPECT_EQ(mapped[8], kSixVertices[8]);
    EXPECT_EQ(mapped[11], kSixVertices[11]);
    glUnmapBuffer(GL_ARRAY_BUFFER);
    glBindVertexArray(0);
    vao.Destroy();
}

TEST_F(VaoTest, DestroyTwiceDeletesEveryNameOnce) {
    OstrelTest::GLDeleteRecorder deletes;
    GLVao vao({kPositions, kPositions}, IndexBufferDescription{kThreeIndices, GL_UNSIGNED_SHORT, 3});
    const GLuint array = vao.vao;
    vao.Destroy();
    EXPECT_TRUE(vao.destroyed);
    EXPECT_FALSE(glIsVertexArray(array));
    for (GLuint b : vao.vertexBuffers) EXPECT_FALSE(glIsBuffer(b));
    EXPECT_FALSE(glIsBuffer(vao.indexBuffer));
    vao.Destroy();
    EXPECT_EQ(deletes.vertexArrays, (std::vector<GLuint>{array}));
    // Vertex buffers in creation order, one call each, then the index buffer.
    EXPECT_EQ(deletes.buffers, (std::vector<GLuint>{vao.vertexBuffers[0], vao.vertexBuffers[1], vao.indexBuffer}));

    GLVao interleaved(Interleaved(kSixVertices, sizeof(kSixVertices), {}));
    deletes.buffers.clear();
    interleaved.Destroy();
    interleaved.Destroy();
    EXPECT_EQ(deletes.buffers, (std::vector<GLuint>{interleaved.vertexBuffers[0]}));  // no index buffer
}

TEST_F(VaoTest, SetIndicesJoinsTheBoundVertexArray) {
    const float quad[8] = {-1, -1, -1, 1, 1, 1, 1, -1};
    GLVao vao(Interleaved(quad, sizeof(quad), {{0, 2, GL_FLOAT, 0}}));
    vao.Bind();
    const uint32_t idx[3] = {0, 1, 2};  // the upper-left triangle only
    vao.SetIndices(IndexBufferDescription{idx, GL_UNSIGNED_INT, 3});
    EXPECT_EQ(vao.indexCount, 3u);
    vao.Draw();
    EXPECT_TRUE(Lit(2, 10));
    EXPECT_FALSE(Lit(60, 50));
    glBindVertexArray(0);
    vao.Destroy();
}

}  // namespace
