// IRenderFramebuffer.h - an offscreen render target that a whole scene is drawn
// into and that is then drawn onto the window through an effect.
#pragma once

namespace Ostrel {

struct vec4;

class IRenderFramebuffer {
public:
    virtual void Initialize() = 0;
    // Redirects drawing into the offscreen image.
    virtual void Bind() = 0;
    // Puts drawing back on the window.
    virtual void Unbind() = 0;
    // Clears whatever target is bound and switches depth testing on.
    virtual void Clear(const vec4& color) = 0;
    // Draws the offscreen image over the window with the program in use.
    virtual void Draw() = 0;
    virtual void Destroy() = 0;

protected:
    IRenderFramebuffer() = default;
    ~IRenderFramebuffer() = default;
};

}  // namespace Ostrel
