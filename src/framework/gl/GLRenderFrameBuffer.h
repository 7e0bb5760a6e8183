// GLRenderFrameBuffer.h - the offscreen target of post-processing: a colour
// texture of the window's size plus the full-screen quad that puts it back on
// the window. It follows window resizes through its own listener.
#pragma once

#include "../core/LifecycleState.h"
#include "IRenderFramebuffer.h"

#include <GL/glew.h>

namespace Ostrel {

class WindowManager;
class Renderer;
class IGeometryBuffer;
class GLVao;
struct WindowResizedEvent;

class GLRenderFrameBuffer final : public IRenderFramebuffer {
public:
    LifecycleState state = LifecycleCreated;
    Renderer* renderer = nullptr;  // size at Initialize; not owned
    IGeometryBuffer* quad = nullptr;
    GLuint framebuffer = 0;
    GLuint colorTexture = 0;
    // Same size as the image but deliberately not attached: with a depth buffer
    // the scene's sprites, all at depth 0, would reject each other.
    GLuint renderbuffer = 0;

    // Registers the resize listener; makes no GL call.
    GLRenderFrameBuffer(WindowManager* window, Renderer* renderer);
    GLRenderFrameBuffer(const GLRenderFrameBuffer&) = delete;
    GLRenderFrameBuffer& operator=(const GLRenderFrameBuffer&) = delete;

    void Initialize() override;
    void Bind() override;
    void Unbind() override;
    void Clear(const vec4& color) override;
    void Draw() override;
    void Destroy() override;

    void CreateFramebuffer(int width, int height);
    void CreateScreenQuad();
    void OnWindowResized(WindowResizedEvent* event);

private:
    void DeleteTargets();

    GLVao* ownedQuad = nullptr;  // the object behind quad, for deletion
};

}  // namespace Ostrel
