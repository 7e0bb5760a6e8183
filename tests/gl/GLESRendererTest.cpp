// The frame brackets: size, clear, viewport and the ImGui frame.
#include "GLTestContext.h"
#include "RecordingWindowManager.h"
#include "TempDir.h"
#include "editor/ImGuiLayer.h"
#include "gl/GLESRenderer_3_1.h"

#include <GL/glew.h>

#include <gtest/gtest.h>
#include <imgui.h>

#include <cstdlib>

using namespace Ostrel;

namespace {

bool Near(OstrelTest::Rgba p, int r, int g, int b) {
    return std::abs(p.r - r) <= 1 && std::abs(p.g - g) <= 1 && std::abs(p.b - b) <= 1;
}

void Viewport(GLint out[4]) {
    glGetIntegerv(GL_VIEWPORT, out);
}

class RendererTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(gl.Ok()); }
    OstrelTest::GLTestContext gl{320, 240};
    OstrelTest::RecordingWindowManager window;
};

TEST_F(RendererTest, ConstructorTakesTheWindowSettingsAndThePinkClear) {
    window.settings.width = 640;
    window.settings.height = 480;
    GLESRenderer_3_1 renderer(&window);
    window.settings.width = 10;  // read once, at construction
    EXPECT_EQ(renderer.GetWidth(), 640);
    EXPECT_EQ(renderer.GetHeight(), 480);
    EXPECT_EQ(renderer.window, &window);
    EXPECT_EQ(renderer.imGuiLayer, nullptr);
    EXPECT_FLOAT_EQ(renderer.clearColour.x, 1.0f);
    EXPECT_FLOAT_EQ(renderer.clearColour.y, 0.71f);
    EXPECT_FLOAT_EQ(renderer.clearColour.z, 0.76f);
    EXPECT_FLOAT_EQ(renderer.clearColour.w, 1.0f);
    EXPECT_EQ(window.resizeListeners.size(), 1u);
    // Initialize and Shutdown have nothing to do, any number of times.
    renderer.Initialize();
    renderer.Initialize();
    renderer.Shutdown();
    EXPECT_EQ(renderer.GetWidth(), 640);
}

TEST_F(RendererTest, BeginFrameClearsToTheCurrentClearColour) {
    GLESRenderer_3_1 renderer(&window);
    renderer.SetSize(gl.width, gl.height);
    renderer.BeginFrame();
    EXPECT_TRUE(Near(gl.Pixel(0, 0), 255, 181, 194));
    EXPECT_TRUE(Near(gl.Pixel(319, 239), 255, 181, 194));
    renderer.EndFrame();
    renderer.clearColour = vec4(0.0f, 0.5f, 1.0f, 1.0f);
    renderer.BeginFrame();
    EXPECT_TRUE(Near(gl.Pixel(160, 120), 0, 128, 255));
    renderer.EndFrame();
}

TEST_F(RendererTest, ResizeEventsResizeAtOnceAndTheViewportAtTheNextFrame) {
    GLESRenderer_3_1 renderer(&window);
    renderer.BeginFrame();
    GLint viewport[4];
    Viewport(viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);

    window.Resize(1024, 768);
    EXPECT_EQ(renderer.GetWidth(), 1024);
    EXPECT_EQ(renderer.GetHeight(), 768);
    EXPECT_EQ(renderer.GetSize().x, 1024);
    EXPECT_EQ(renderer.GetSize().y, 768);
    Viewport(viewport);
    EXPECT_EQ(viewport[2], 800);
    renderer.BeginFrame();
    Viewport(viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 1024);
    EXPECT_EQ(viewport[3], 768);

    renderer.SetSize(300, 200);
    Viewport(viewport);
    EXPECT_EQ(viewport[2], 1024);
    renderer.BeginFrame();
    Viewport(viewport);
    EXPECT_EQ(viewport[2], 300);
    EXPECT_EQ(viewport[3], 200);
}

TEST_F(RendererTest, AttachedImGuiLayerOpensTheFrameFirstAndDrawsLast) {
    GLESRenderer_3_1 renderer(&window);
    renderer.SetSize(gl.width, gl.height);
    renderer.clearColour = vec4(0.0f, 0.0f, 0.0f, 1.0f);
    // No layer: a frame makes no ImGui call, so no context is needed.
    renderer.BeginFrame();
    renderer.EndFrame();
    EXPECT_EQ(ImGui::GetCurrentContext(), nullptr);

    ImGuiLayer layer;
    ASSERT_TRUE(layer.Init(gl.window, gl.context, nullptr));
    ImGui::GetIO().IniFilename = nullptr;
    renderer.SetImGuiLayer(&layer);
    EXPECT_EQ(renderer.imGuiLayer, &layer);
    const int framesBefore = ImGui::GetFrameCount();
    renderer.BeginFrame();
    EXPECT_EQ(ImGui::GetFrameCount(), framesBefore + 1);
    ImGui::SetNextWindowPos(ImVec2(0, 0));
    ImGui::SetNextWindowSize(ImVec2(100, 100));
    ImGui::Begin("probe", nullptr, ImGuiWindowFlags_NoTitleBar);
    ImGui::End();
    // Drawn after BeginFrame's clear: ImGui's window must still show.
    EXPECT_TRUE(Near(gl.Pixel(50, 50), 0, 0, 0));
    renderer.EndFrame();
    EXPECT_FALSE(Near(gl.Pixel(50, 50), 0, 0, 0));
    EXPECT_TRUE(Near(gl.Pixel(200, 200), 0, 0, 0));
    layer.Shutdown();
}

}  // namespace
