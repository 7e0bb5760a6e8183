#include "GLDeleteRecorder.h"

#include <dlfcn.h>

namespace OstrelTest {

namespace {

GLDeleteRecorder* active = nullptr;
PFNGLDELETEPROGRAMPROC realProgram = nullptr;
PFNGLDELETEBUFFERSPROC realBuffers = nullptr;
PFNGLDELETEVERTEXARRAYSPROC realVertexArrays = nullptr;

void GLAPIENTRY RecordProgram(GLuint program) {
    if (active != nullptr) active->programs.push_back(program);
    realProgram(program);
}

void GLAPIENTRY RecordBuffers(GLsizei n, const GLuint* names) {
    if (active != nullptr) active->buffers.insert(active->buffers.end(), names, names + n);
    realBuffers(n, names);
}

void GLAPIENTRY RecordVertexArrays(GLsizei n, const GLuint* names) {
    if (active != nullptr) active->vertexArrays.insert(active->vertexArrays.end(), names, names + n);
    realVertexArrays(n, names);
}

}  // namespace

GLDeleteRecorder::GLDeleteRecorder() {
    savedProgram = __glewDeleteProgram;
    savedBuffers = __glewDeleteBuffers;
    savedVertexArrays = __glewDeleteVertexArrays;
    realProgram = savedProgram;
    realBuffers = savedBuffers;
    realVertexArrays = savedVertexArrays;
    __glewDeleteProgram = RecordProgram;
    __glewDeleteBuffers = RecordBuffers;
    __glewDeleteVertexArrays = RecordVertexArrays;
    active = this;
}

GLDeleteRecorder::~GLDeleteRecorder() {
    __glewDeleteProgram = savedProgram;
    __glewDeleteBuffers = savedBuffers;
    __glewDeleteVertexArrays = savedVertexArrays;
    active = nullptr;
}

void RecordTextureDeletes(GLsizei n, const GLuint* names) {
    if (active != nullptr) active->textures.insert(active->textures.end(), names, names + n);
}

}  // namespace OstrelTest

// Interposes the system library's entry point for every object linked into a
// test executable that uses this support library.
extern "C" void GLAPIENTRY glDeleteTextures(GLsizei n, const GLuint* textures) {
    using DeleteTextures = void(GLAPIENTRY*)(GLsizei, const GLuint*);
    static DeleteTextures next = reinterpret_cast<DeleteTextures>(dlsym(RTLD_NEXT, "glDeleteTextures"));
    OstrelTest::RecordTextureDeletes(n, textures);
    if (next != nullptr) next(n, textures);
}
