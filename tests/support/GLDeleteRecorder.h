// GLDeleteRecorder.h - records the names passed to glDeleteProgram,
// glDeleteBuffers, glDeleteVertexArrays and glDeleteTextures while it lives,
// and still forwards every call to GL. Mesa never hands a freed name out
// again soon, so a second delete of a name is invisible to GL queries; this
// makes "deleted exactly once" testable.
//
// Programs, buffers and vertex arrays are hooked through GLEW's function
// pointers. glDeleteTextures is a GL 1.1 entry point linked directly; the
// recorder defines it in the test executable, which takes precedence over the
// system library, and forwards to the next definition.
#pragma once

#include <GL/glew.h>

#include <algorithm>
#include <vector>

namespace OstrelTest {

class GLDeleteRecorder {
public:
    // Needs GLEW initialised (a GLTestContext exists). One recorder at a time.
    GLDeleteRecorder();
    ~GLDeleteRecorder();
    GLDeleteRecorder(const GLDeleteRecorder&) = delete;
    GLDeleteRecorder& operator=(const GLDeleteRecorder&) = delete;

    std::vector<GLuint> programs;
    std::vector<GLuint> buffers;
    std::vector<GLuint> vertexArrays;
    std::vector<GLuint> textures;

    static long Count(const std::vector<GLuint>& names, GLuint name) {
        return static_cast<long>(std::count(names.begin(), names.end(), name));
    }

private:
    PFNGLDELETEPROGRAMPROC savedProgram = nullptr;
    PFNGLDELETEBUFFERSPROC savedBuffers = nullptr;
    PFNGLDELETEVERTEXARRAYSPROC savedVertexArrays = nullptr;
};

}  // namespace OstrelTest
