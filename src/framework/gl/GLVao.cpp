#include "GLVao.h"

#include "QuadMesh.h"

#include <cstdint>
#include <iostream>
#include <utility>

namespace Ostrel {

namespace {

const void* OffsetPointer(uint32_t offset) {
    return reinterpret_cast<const void*>(static_cast<uintptr_t>(offset));
}

}  // namespace

GLVao::GLVao(InterleavedBufferDescription description) {
    destroyed = false;
    vertexBuffers.clear();
    indexBuffer = 0;
    indexCount = 0;
    dynamicBuffer = 0;

    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);

    uint32_t stride = 0;
    for (const AttributeLayout& layout : description.layouts)
        stride += layout.components * ResolveTypeSize(layout.type);

    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, description.size, description.data, description.usage);
    vertexBuffers.push_back(buffer);

    for (const AttributeLayout& layout : description.layouts) {
        glVertexAttribPointer(layout.index, static_cast<GLint>(layout.components), layout.type, GL_FALSE,
                              static_cast<GLsizei>(stride), OffsetPointer(layout.offset));
        glEnableVertexAttribArray(layout.index);
    }
    glBindVertexArray(0);
}

GLVao::GLVao(std::vector<VertexAttribute> attributes, IndexBufferDescription indices) {
    destroyed = false;
    vertexBuffers.clear();
    dynamicBuffer = 0;

    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);

    glGenBuffers(1, &indexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.count) * ResolveTypeSize(indices.type),
                 indices.data, indices.usage);
    indexCount = indices.count;
    indexType = indices.type;

    for (const VertexAttribute& attribute : attributes) {
        GLuint buffer = 0;
        glGenBuffers(1, &buffer);
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(attribute.count) * ResolveTypeSize(attribute.type),
                     attribute.data, attribute.usage);
        glVertexAttribPointer(attribute.index, static_cast<GLint>(attribute.components), attribute.type, GL_FALSE, 0,
                              nullptr);
        glEnableVertexAttribArray(attribute.index);
        if (attribute.dynamic) dynamicBuffer = buffer;
        vertexBuffers.push_back(buffer);
    }
    glBindVertexArray(0);
}

void GLVao::Bind() {
    glBindVertexArray(vao);
}

void GLVao::BindBuffer(int index) {
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffers[static_cast<size_t>(index)]);
}

void GLVao::UpdateBuffer(const void* data, int size) {
    glBufferSubData(GL_ARRAY_BUFFER, 0, size, data);
}

void GLVao::Destroy() {
    if (destroyed) return;
    glDeleteVertexArrays(1, &vao);
    for (GLuint buffer : vertexBuffers) glDeleteBuffers(1, &buffer);
    if (indexBuffer != 0) glDeleteBuffers(1, &indexBuffer);
    destroyed = true;
}

void GLVao::Draw() {
    if (indexCount == 0) {
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    } else {
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indexCount), indexType, nullptr);
    }
}

void GLVao::SetIndices(IndexBufferDescription indices) {
    glGenBuffers(1, &indexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.count) * ResolveTypeSize(indices.type),
                 indices.data, indices.usage);
    indexCount = indices.count;
    indexType = indices.type;
}

uint32_t GLVao::ResolveTypeSize(GLenum type) {
    switch (type) {
        case GL_BYTE:
        case GL_UNSIGNED_BYTE:
            return 1;
        case GL_SHORT:
        case GL_UNSIGNED_SHORT:
            return 2;
        case GL_INT:
        case GL_UNSIGNED_INT:
        case GL_FLOAT:
            return 4;
        default:
            std::cout << "Ostrel::GLVao::ResolveTypeSize: unknown size!" << std::endl;
            return 4;
    }
}

GLVao* CreateQuadVao(float scale) {
    QuadMesh mesh;
    float positions[12];
    for (int i = 0; i < 12; ++i) positions[i] = mesh.positions[i] * scale;

    VertexAttribute position;
    position.dynamic = true;
    position.index = 0;
    position.components = 3;
    position.type = GL_FLOAT;
    position.data = positions;
    position.count = mesh.positionCount;
    position.usage = GL_STATIC_DRAW;

    VertexAttribute uv = position;
    uv.index = 1;
    uv.components = 2;
    uv.data = mesh.uvs;
    uv.count = mesh.uvCount;

    IndexBufferDescription indices;
    indices.data = mesh.indices;
    indices.type = GL_UNSIGNED_BYTE;
    indices.count = mesh.indexCount;
    indices.usage = GL_STATIC_DRAW;
    // The buffers hold copies, so the mesh may go away.
    return new GLVao(std::vector<VertexAttribute>{position, uv}, indices);
}

}  // namespace Ostrel
