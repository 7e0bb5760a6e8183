// GLVao.h - a vertex array object with its buffers, built either from one
// interleaved buffer or from one buffer per attribute plus an index buffer.
#pragma once

#include "IGeometryBuffer.h"

#include <GL/glew.h>

#include <cstdint>
#include <vector>

namespace Ostrel {

struct AttributeLayout {
    uint32_t index;
    uint32_t components;
    GLenum type;
    uint32_t offset;  // bytes from the start of a vertex
};

struct InterleavedBufferDescription {
    uint32_t size = 0;  // bytes of data
    const void* data = nullptr;
    GLenum usage = GL_STATIC_DRAW;
    std::vector<AttributeLayout> layouts;
};

struct VertexAttribute {
    bool dynamic = false;
    uint32_t index = 0;
    uint32_t components = 0;
    GLenum type = 0;
    const void* data = nullptr;
    uint32_t count = 0;  // components in data, not vertices
    GLenum usage = GL_STATIC_DRAW;
};

struct IndexBufferDescription {
    const void* data = nullptr;
    GLenum type = 0;
    uint32_t count = 0;
    GLenum usage = GL_STATIC_DRAW;
};

class GLVao final : public IGeometryBuffer {
public:
    bool destroyed = false;
    GLuint vao = 0;
    GLuint indexBuffer = 0;
    uint32_t indexCount = 0;  // 0: Draw uses a four-vertex strip
    GLenum indexType = 0;
    std::vector<GLuint> vertexBuffers;
    GLuint dynamicBuffer = 0;

    explicit GLVao(InterleavedBufferDescription description);
    GLVao(std::vector<VertexAttribute> attributes, IndexBufferDescription indices);

    GLVao(const GLVao&) = delete;
    GLVao& operator=(const GLVao&) = delete;

    void Bind() override;
    void BindBuffer(int index) override;
    void UpdateBuffer(const void* data, int size) override;
    void Destroy() override;
    void Draw() override;

    // Adds an index buffer to whichever vertex array is bound.
    void SetIndices(IndexBufferDescription indices);
    // Bytes per component; unknown types print a line and count 4.
    uint32_t ResolveTypeSize(GLenum type);
};

// The unit quad (positions multiplied by `scale`) as an indexed vertex array:
// positions at location 0, texture coordinates at location 1, both marked
// dynamic and static-drawn, six byte indices.
GLVao* CreateQuadVao(float scale);

}  // namespace Ostrel
