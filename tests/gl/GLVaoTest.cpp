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

GLint BufferSize(GLuint buffer) {
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    GLint size = -1;
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    return size;
}

class VaoTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl.Ok());
        program = CreateShaderProgram(kVertex, kFragment);
        glUseProgram(program);
        glViewport(0, 0, gl.width, gl.height);
        Clear();
    }
    void TearDown() override {
        if (HasFailure()) {
            gl.SavePng(OstrelTest::ExecutableDir() + "/VaoTest_" +
                       testing::UnitTest::GetInstance()->current_test_info()->name() + ".png");
        }
        glUseProgram(0);
        glDeleteProgram(program);
    }
    void Clear() {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    bool Lit(int x, int y) const { return gl.Pixel(x, y).r > 128; }

    OstrelTest::GLTestContext gl{64, 64};
    GLuint program = 0;
};

TEST_F(VaoTest, InterleavedBufferWithoutIndicesDrawsExactlyFourVerticesAsAStrip) {
    InterleavedBufferDescription description;
    description.size = sizeof(kSixVertices);
    description.data = kSixVertices;
    description.usage = GL_STATIC_DRAW;
    description.layouts.push_back(AttributeLayout{0, 2, GL_FLOAT, 0});
    GLVao vao(description);
    EXPECT_EQ(vao.indexCount, 0u);
    EXPECT_EQ(vao.indexBuffer, 0u);
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

TEST_F(VaoTest, InterleavedStrideSumsAllLayoutsAndLeavesTheArrayBufferBound) {
    // Position (2 floats) then a padding byte pair, as a layout with a
    // distinct offset: stride 2*4 + 2*1 = 10.
    std::vector<uint8_t> data(40, 0);
    InterleavedBufferDescription description;
    description.size = static_cast<uint32_t>(data.size());
    description.data = data.data();
    description.usage = GL_DYNAMIC_DRAW;
    description.layouts = {AttributeLayout{0, 2, GL_FLOAT, 0}, AttributeLayout{1, 2, GL_UNSIGNED_BYTE, 8}};
    GLVao vao(description);
    GLint bound = 0;
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), vao.vertexBuffers[0]);
    vao.Bind();
    GLint stride = 0, enabled = 0;
    void* offset = nullptr;
    glGetVertexAttribiv(1, GL_VERTEX_ATTRIB_ARRAY_STRIDE, &stride);
    glGetVertexAttribiv(1, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
    glGetVertexAttribPointerv(1, GL_VERTEX_ATTRIB_ARRAY_POINTER, &offset);
    EXPECT_EQ(stride, 10);
    EXPECT_EQ(enabled, GL_TRUE);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(offset), 8u);
    GLint usage = 0;
    glBindBuffer(GL_ARRAY_BUFFER, vao.vertexBuffers[0]);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_USAGE, &usage);
    EXPECT_EQ(usage, GL_DYNAMIC_DRAW);
    glBindVertexArray(0);
    vao.Destroy();
}

TEST_F(VaoTest, InterleavedWithoutLayoutsUploadsDataAndEnablesNothing) {
    InterleavedBufferDescription description;
    description.size = sizeof(kSixVertices);
    description.data = kSixVertices;
    GLVao vao(description);
    EXPECT_EQ(BufferSize(vao.vertexBuffers[0]), static_cast<GLint>(sizeof(kSixVertices)));
    vao.Bind();
    GLint enabled = 1;
    glGetVertexAttribiv(0, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
    EXPECT_EQ(enabled, GL_FALSE);
    glBindVertexArray(0);
    vao.Destroy();
}

TEST_F(VaoTest, UnknownComponentTypePrintsItsLineAndCountsFourBytes) {
    std::vector<uint8_t> data(64, 0);
    InterleavedBufferDescription description;
    description.size = 64;
    description.data = data.data();
    description.layouts = {AttributeLayout{0, 2, 5127, 0}, AttributeLayout{1, 3, GL_SHORT, 8}};
    testing::internal::CaptureStdout();
    GLVao vao(description);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Ostrel::GLVao::ResolveTypeSize: unknown size!\n");
    vao.Bind();
    GLint stride = 0;
    glGetVertexAttribiv(1, GL_VERTEX_ATTRIB_ARRAY_STRIDE, &stride);
    EXPECT_EQ(stride, 2 * 4 + 3 * 2);
    glBindVertexArray(0);
    vao.Destroy();
    while (glGetError() != GL_NO_ERROR) {
    }

    // The separate form: once per unknown attribute and once for the index type.
    const float positions[8] = {};
    VertexAttribute attribute;
    attribute.index = 0;
    attribute.components = 2;
    attribute.type = 5119;
    attribute.data = positions;
    attribute.count = 8;
    IndexBufferDescription indices;
    const uint8_t indexBytes[24] = {};
    indices.data = indexBytes;
    indices.type = 5127;
    indices.count = 6;
    testing::internal::CaptureStdout();
    GLVao separate({attribute}, indices);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Ostrel::GLVao::ResolveTypeSize: unknown size!\nOstrel::GLVao::ResolveTypeSize: unknown size!\n");
    EXPECT_EQ(BufferSize(separate.vertexBuffers[0]), 8 * 4);
    separate.Bind();
    GLint indexSize = 0;
    glGetBufferParameteriv(GL_ELEMENT_ARRAY_BUFFER, GL_BUFFER_SIZE, &indexSize);
    EXPECT_EQ(indexSize, 6 * 4);
    glBindVertexArray(0);
    separate.Destroy();
    while (glGetError() != GL_NO_ERROR) {
    }
}

TEST_F(VaoTest, TypeSizesFollowTheComponentType) {
    InterleavedBufferDescription description;
    GLVao vao(description);
    EXPECT_EQ(vao.ResolveTypeSize(GL_BYTE), 1u);
    EXPECT_EQ(vao.ResolveTypeSize(GL_UNSIGNED_BYTE), 1u);
    EXPECT_EQ(vao.ResolveTypeSize(GL_SHORT), 2u);
    EXPECT_EQ(vao.ResolveTypeSize(GL_UNSIGNED_SHORT), 2u);
    EXPECT_EQ(vao.ResolveTypeSize(GL_INT), 4u);
    EXPECT_EQ(vao.ResolveTypeSize(GL_UNSIGNED_INT), 4u);
    EXPECT_EQ(vao.ResolveTypeSize(GL_FLOAT), 4u);
    vao.Destroy();
}

TEST_F(VaoTest, SeparateFormDrawsTheIndexedQuadAndRemembersTheDynamicBuffer) {
    QuadMesh mesh;
    float doubled[12];
    for (int i = 0; i < 12; ++i) doubled[i] = mesh.positions[i] * 2.0f;
    VertexAttribute positions;
    positions.dynamic = true;
    positions.index = 0;
    positions.components = 3;
    positions.type = GL_FLOAT;
    positions.data = doubled;
    positions.count = mesh.positionCount;
    VertexAttribute uvs;
    uvs.index = 1;
    uvs.components = 2;
    uvs.type = GL_FLOAT;
    uvs.data = mesh.uvs;
    uvs.count = mesh.uvCount;
    IndexBufferDescription indices;
    indices.data = mesh.indices;
    indices.type = GL_UNSIGNED_BYTE;
    indices.count = mesh.indexCount;
    GLVao vao({positions, uvs}, indices);
    ASSERT_EQ(vao.vertexBuffers.size(), 2u);
    EXPECT_EQ(vao.dynamicBuffer, vao.vertexBuffers[0]);
    EXPECT_EQ(vao.indexCount, 6u);
    EXPECT_EQ(vao.indexType, static_cast<GLenum>(GL_UNSIGNED_BYTE));
    EXPECT_EQ(BufferSize(vao.vertexBuffers[0]), 48);
    EXPECT_EQ(BufferSize(vao.vertexBuffers[1]), 32);
    GLint bound = 0;
    vao.BindBuffer(1);
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), vao.vertexBuffers[1]);
    vao.Bind();
    vao.Draw();
    EXPECT_TRUE(Lit(0, 0));
    EXPECT_TRUE(Lit(63, 63));
    EXPECT_TRUE(Lit(0, 63));
    EXPECT_TRUE(Lit(63, 0));
    glBindVertexArray(0);
    vao.Destroy();
}

TEST_F(VaoTest, SeparateFormWithoutIndicesKeepsAnEmptyIndexBufferAndDrawsAStrip) {
    VertexAttribute positions;
    positions.index = 0;
    positions.components = 2;
    positions.type = GL_FLOAT;
    positions.data = kSixVertices;
    positions.count = 12;
    IndexBufferDescription none;
    none.type = GL_UNSIGNED_SHORT;
    GLVao vao({positions}, none);
    EXPECT_NE(vao.indexBuffer, 0u);
    EXPECT_EQ(vao.indexCount, 0u);
    EXPECT_EQ(vao.dynamicBuffer, 0u);
    vao.Bind();
    vao.Draw();
    EXPECT_TRUE(Lit(5, 32));
    EXPECT_FALSE(Lit(40, 32));
    glBindVertexArray(0);
    const GLuint indexBuffer = vao.indexBuffer;
    EXPECT_TRUE(glIsBuffer(indexBuffer));
    vao.Destroy();
    EXPECT_FALSE(glIsBuffer(indexBuffer));
}

TEST_F(VaoTest, UpdateBufferReplacesTheLeadingBytesOfTheBoundBuffer) {
    InterleavedBufferDescription description;
    description.size = sizeof(kSixVertices);
    description.data = kSixVertices;
    description.usage = GL_DYNAMIC_DRAW;
    description.layouts.push_back(AttributeLayout{0, 2, GL_FLOAT, 0});
    GLVao vao(description);
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

TEST_F(VaoTest, DestroyDeletesTheVertexArrayAndItsBuffers) {
    VertexAttribute positions;
    positions.index = 0;
    positions.components = 2;
    positions.type = GL_FLOAT;
    positions.data = kSixVertices;
    positions.count = 12;
    IndexBufferDescription indices;
    const uint16_t idx[3] = {0, 1, 2};
    indices.data = idx;
    indices.type = GL_UNSIGNED_SHORT;
    indices.count = 3;
    GLVao vao({positions, positions}, indices);
    const GLuint array = vao.vao;
    const std::vector<GLuint> buffers = vao.vertexBuffers;
    vao.Destroy();
    EXPECT_TRUE(vao.destroyed);
    EXPECT_EQ(vao.vertexBuffers.size(), 2u);
    EXPECT_FALSE(glIsVertexArray(array));
    for (GLuint b : buffers) EXPECT_FALSE(glIsBuffer(b));
    EXPECT_FALSE(glIsBuffer(vao.indexBuffer));

    EXPECT_TRUE(glIsBuffer(buffers[0]) == GL_FALSE);
}

TEST_F(VaoTest, DestroyTwiceDeletesEveryNameOnce) {
    OstrelTest::GLDeleteRecorder deletes;
    VertexAttribute positions;
    positions.index = 0;
    positions.components = 2;
    positions.type = GL_FLOAT;
    positions.data = kSixVertices;
    positions.count = 12;
    IndexBufferDescription indices;
    const uint16_t idx[3] = {0, 1, 2};
    indices.data = idx;
    indices.type = GL_UNSIGNED_SHORT;
    indices.count = 3;
    GLVao vao({positions, positions}, indices);
    vao.Destroy();
    vao.Destroy();
    EXPECT_EQ(deletes.vertexArrays, (std::vector<GLuint>{vao.vao}));
    // Vertex buffers in creation order, one call each, then the index buffer.
    EXPECT_EQ(deletes.buffers, (std::vector<GLuint>{vao.vertexBuffers[0], vao.vertexBuffers[1], vao.indexBuffer}));

    InterleavedBufferDescription description;
    description.size = sizeof(kSixVertices);
    description.data = kSixVertices;
    GLVao interleaved(description);
    deletes.buffers.clear();
    interleaved.Destroy();
    interleaved.Destroy();
    EXPECT_EQ(deletes.buffers, (std::vector<GLuint>{interleaved.vertexBuffers[0]}));  // no index buffer
}

TEST_F(VaoTest, SetIndicesJoinsTheBoundVertexArray) {
    InterleavedBufferDescription description;
    const float quad[8] = {-1, -1, -1, 1, 1, 1, 1, -1};
    description.size = sizeof(quad);
    description.data = quad;
    description.layouts.push_back(AttributeLayout{0, 2, GL_FLOAT, 0});
    GLVao vao(description);
    vao.Bind();
    const uint32_t idx[3] = {0, 1, 2};  // the upper-left triangle only
    IndexBufferDescription indices;
    indices.data = idx;
    indices.type = GL_UNSIGNED_INT;
    indices.count = 3;
    vao.SetIndices(indices);
    EXPECT_EQ(vao.indexCount, 3u);
    vao.Draw();
    EXPECT_TRUE(Lit(2, 10));
    EXPECT_FALSE(Lit(60, 50));
    glBindVertexArray(0);
    vao.Destroy();
}

}  // namespace
