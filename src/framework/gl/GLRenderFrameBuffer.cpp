#include "GLRenderFrameBuffer.h"

#include "../core/Renderer.h"
#include "../core/WindowManager.h"
#include "GLVao.h"

#include <iostream>

namespace Ostrel {

GLRenderFrameBuffer::GLRenderFrameBuffer(WindowManager* window, Renderer* renderer_) : renderer(renderer_) {
    window->AddWindowResizedListener([this](WindowResizedEvent* event) { OnWindowResized(event); });
}

void GLRenderFrameBuffer::Initialize() {
    if (state == LifecycleInitialised) return;
    state = LifecycleInitialised;
    CreateFramebuffer(renderer->GetWidth(), renderer->GetHeight());
    CreateScreenQuad();
}

void GLRenderFrameBuffer::Bind() {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
}

void GLRenderFrameBuffer::Unbind() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void GLRenderFrameBuffer::Clear(const vec4& color) {
    glClearColor(color.x, color.y, color.z, color.w);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // Before Initialize the scene goes straight to the window, whose depth
    // test would reject sprites on the projection's far plane.
    if (quad != nullptr) glEnable(GL_DEPTH_TEST);
}

void GLRenderFrameBuffer::Draw() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    if (quad == nullptr) {
        // No GL objects (before Initialize or after Destroy): Bind left the
        // scene on the window, so keep it there instead of clearing it.
        glDisable(GL_DEPTH_TEST);
        return;
    }
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    quad->Bind();
    glDisable(GL_DEPTH_TEST);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, colorTexture);
    quad->Draw();
}

void GLRenderFrameBuffer::Destroy() {
    if (state == LifecycleReleased) return;
    if (ownedQuad != nullptr) {
        ownedQuad->Destroy();
        delete ownedQuad;
    }
    ownedQuad = nullptr;
    quad = nullptr;
    DeleteTargets();
    state = LifecycleReleased;
}

void GLRenderFrameBuffer::CreateFramebuffer(int width, int height) {
    glGenFramebuffers(1, &framebuffer);
    glGenTextures(1, &colorTexture);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);

    glBindTexture(GL_TEXTURE_2D, colorTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glBindTexture(GL_TEXTURE_2D, 0);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colorTexture, 0);

    glGenRenderbuffers(1, &renderbuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);

    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        std::cout << "ERROR::FRAMEBUFFER:: Framebuffer is not complete!" << std::endl;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void GLRenderFrameBuffer::CreateScreenQuad() {
    // The unit quad doubled spans clip space: (-1, -1) .. (1, 1).
    ownedQuad = CreateQuadVao(2.0f);
    quad = ownedQuad;
}

void GLRenderFrameBuffer::OnWindowResized(WindowResizedEvent* event) {
    // Only a live target follows the window: before Initialize the renderer's
    // size (already updated by its own listener) is used, and after Destroy
    // new GL objects would never be freed.
    if (state != LifecycleInitialised) return;
    DeleteTargets();
    CreateFramebuffer(event->width, event->height);
}

void GLRenderFrameBuffer::DeleteTargets() {
    glDeleteTextures(1, &colorTexture);
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteRenderbuffers(1, &renderbuffer);
    colorTexture = 0;
    framebuffer = 0;
    renderbuffer = 0;
}

}  // namespace Ostrel
