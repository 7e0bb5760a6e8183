// One picture of sprites (placement, orientation, tint, turns, blending, null textures), then a resize.
#include "GLTestContext.h"
#include "editor/ImGuiLayer.h"

#include <GL/glew.h>
#include <gtest/gtest.h>
#include <imgui.h>

#include <array>

using namespace Ostrel;

namespace {

constexpr float kQuarterTurn = 1.5707964f;

// Quadrants, top row first: red | green over blue | white.
const std::vector<uint8_t> kQuadrants = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255};
const std::vector<uint8_t> kWhite = {255, 255, 255, 255};

class SpriteScene : public OstrelTest::GLScene {
protected:
    void Check(const std::vector<std::array<int, 5>>& rows) {  // x, y, r, g, b
        for (const auto& [x, y, r, g, b] : rows)
            EXPECT_TRUE(At(x, y).Near(r, g, b)) << x << ", " << y << ": " << At(x, y);
    }
};

TEST_F(SpriteScene, SpritesLandWhereAskedTurnedTintedAndBlended) {
    ITexture2D* quadrants = Texture(kQuadrants, 2, 2);
    ITexture2D* white = Texture(kWhite, 1, 1);
    glDisable(GL_BLEND);
    sprites.Begin(1);  // mode 1 leaves blending as it is: off here
    sprites.DrawSprite(quadrants, ivec4(50, 50, 200, 100));
    sprites.DrawSprite(white, ivec4(300, 50, 100, 100), vec4(1.0f, 0.5f, 0.0f, 1.0f), vec3(0, 0, 1), 0.0f);
    sprites.DrawSprite(quadrants, ivec4(450, 50, 150, 150), vec3(0, 0, 1), kQuarterTurn);
    sprites.DrawSprite(quadrants, vec2(700.0f, 50.0f));  // its own size: 2 x 2
    // A card turned 60 degrees about the vertical axis: half as wide, full height.
    sprites.DrawSprite(quadrants, ivec4(50, 250, 200, 200), vec3(0, 1, 0), kQuarterTurn * 2.0f / 3.0f);
    sprites.DrawSprite(white, ivec4(550, 250, 100, 100), vec4(0.0f, 0.0f, 1.0f, 0.5f), vec3(0, 0, 1), 0.0f);
    sprites.DrawSprite(white, ivec4(300, 250, 200, 200));
    sprites.Begin(0);
    sprites.DrawSprite(white, ivec4(350, 300, 100, 100), vec4(0.0f, 0.0f, 1.0f, 0.5f), vec3(0, 0, 1), 0.0f);
    // A key that was never loaded draws nothing.
    sprites.DrawSprite(nullptr, ivec4(650, 450, 100, 100));
    sprites.DrawSprite(nullptr, ivec4(650, 450, 100, 100), vec4(1, 1, 1, 1), vec3(0, 0, 1), 0.0f);
    sprites.DrawSprite(nullptr, vec2(650.0f, 450.0f));
    sprites.End();

    // clang-format off
    Check({// texture corner (0, 0) top left; each quadrant filled to its edges, nothing outside
           {55, 55, 255, 0, 0}, {145, 55, 255, 0, 0}, {155, 55, 0, 255, 0}, {245, 55, 0, 255, 0},
           {55, 145, 0, 0, 255}, {145, 145, 0, 0, 255}, {155, 145, 255, 255, 255}, {245, 145, 255, 255, 255},
           {100, 52, 255, 0, 0}, {200, 147, 255, 255, 255},
           {47, 100, 0, 0, 0}, {253, 100, 0, 0, 0}, {150, 47, 0, 0, 0}, {150, 153, 0, 0, 0},
           {350, 100, 255, 128, 0},  // tint
           // a quarter turn about z is clockwise on screen: red goes top right
           {490, 90, 0, 0, 255}, {560, 90, 255, 0, 0}, {560, 160, 0, 255, 0}, {490, 160, 255, 255, 255},
           // the 2 x 2 sprite at its own size
           {700, 50, 255, 0, 0}, {701, 50, 0, 255, 0}, {700, 51, 0, 0, 255}, {702, 50, 0, 0, 0},
           // the turned card spans x 100..200 and the whole height
           {105, 255, 255, 0, 0}, {195, 445, 255, 255, 255}, {95, 350, 0, 0, 0}, {205, 350, 0, 0, 0},
           // unblended half alpha writes its colour; blended it mixes with white
           {600, 300, 0, 0, 255}, {400, 350, 128, 128, 255}, {320, 270, 255, 255, 255},
           {700, 480, 0, 0, 0}});  // the null textures drew nothing
    // clang-format on

    // The window grows: the viewport and the sprites' projection follow. The
    // editor's ImGui frame opens with the renderer's and is drawn over it.
    window.Resize(1024, 768);
    ImGuiLayer editor;
    ASSERT_TRUE(editor.Init(surface, context, nullptr));
    ImGui::GetIO().IniFilename = nullptr;
    renderer.SetImGuiLayer(&editor);
    renderer.BeginFrame();
    sprites.Begin(0);
    sprites.DrawSprite(white, ivec4(900, 700, 100, 50));
    sprites.DrawSprite(quadrants, ivec4(0, 0, 20, 20));
    ImGui::SetNextWindowPos(ImVec2(300, 300));
    ImGui::SetNextWindowSize(ImVec2(100, 100));
    ImGui::Begin("probe", nullptr, ImGuiWindowFlags_NoTitleBar);
    ImGui::End();
    renderer.EndFrame();
    editor.Shutdown();
    Check({{950, 725, 255, 255, 255}, {895, 725, 0, 0, 0}, {950, 755, 0, 0, 0}, {5, 5, 255, 0, 0}});
    EXPECT_FALSE(At(350, 350).Near(0, 0, 0)) << At(350, 350);
}

}  // namespace
