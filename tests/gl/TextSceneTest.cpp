// Menus drawn for real in both font kinds: the default TrueType font and the
// game's bitmap font. Each line's ink lies inside the rectangle the menu
// measured for it and spans its width, white for entries and yellow for the selection.
#include "GLTestContext.h"
#include "TempDir.h"
#include "components/MenuComponent.h"
#include "core/EventBuffer.h"
#include "gl/FontManager.h"
#include "gl/GLTextRenderer.h"
#include "gl/GLTextShader.h"
#include "gl/GLTexture2D.h"
#include "gl/GLVao.h"
#include "sdl/SDLInputManager.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>

using namespace Ostrel;

namespace {

// Linear filtering and the font's side bearings may put ink a few pixels past the measured line.
constexpr int kSlack = 4;

class TextScene : public OstrelTest::GLScene {
protected:
    GLTextRenderer text{&renderer, &files};
    FontManager fonts{&textures, &images, &files};
    EventBuffer events;
    SDLInputManager input{&events};

    void SetUp() override {
        GLScene::SetUp();
        text.Initialize();
        fonts.Initialize();
        // As the framework does: text follows the window.
        window.AddWindowResizedListener([this](WindowResizedEvent* e) { text.Resize(e->width, e->height); });
    }
    void TearDown() override {
        programs.push_back(static_cast<GLTextShader*>(text.shader)->implementation->program);
        arrays.push_back(static_cast<GLVao*>(text.geometry)->vao);
        for (const auto& [path, font] : fonts.fonts) {
            if (font->atlas != nullptr) pictures.push_back(static_cast<GLTexture2D*>(font->atlas)->id);
            for (const auto& [code, glyph] : font->characters)
                if (glyph.texture != nullptr) pictures.push_back(static_cast<GLTexture2D*>(glyph.texture)->id);
        }
        text.Shutdown();
        fonts.Destroy();
        GLScene::TearDown();
    }

    // Draws a three-line menu, the last line selected, and checks that every
    // clear pixel of ink lies in a line's rectangle (grown by kSlack, and
    // moved up by `rise`) in that line's colour, from its left to its right edge.
    void DrawMenu(const char* name, Font* font, float scale, ivec2 offset, int rise) {
        SCOPED_TRACE(name);
        const int width = renderer.GetWidth(), height = renderer.GetHeight();
        renderer.BeginFrame();
        MenuComponent menu(&input, &text, font);
        menu.AddEntry("New Game", nullptr);
        menu.AddLabel("Art - Dorvane");
        menu.AddEntry("Quit", nullptr);
        menu.Initialize();
        menu.SetScale(scale);
        menu.SetPosition(offset);
        menu.Open();
        menu.selectedIndex = 2;
        menu.Layout();
        text.Begin(0);
        menu.Draw();
        text.End();

        const std::vector<OstrelTest::Rgba> frame = Frame();
        int lit[4] = {0, 0, 0, 0}, wrong[4] = {0, 0, 0, 0}, left[3] = {width, width, width}, right[3] = {-1, -1, -1};
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const OstrelTest::Rgba& p = frame[static_cast<size_t>(y) * width + x];
                if (p.r < 200) continue;  // only clear ink counts
                size_t line = 0;
                for (; line < 3; ++line) {
                    const ivec4& r = menu.children[line]->drawRect;
                    if (x >= r.x - kSlack && x < r.x + r.z + kSlack && y >= r.y - rise - kSlack &&
                        y < r.y + r.w - rise + kSlack)
                        break;
                }
                ++lit[line];
                if (line < 3) left[line] = std::min(left[line], x);
                if (line < 3) right[line] = std::max(right[line], x);
                const bool yellow = p.g >= 180 && p.b < 60, white = p.g >= 180 && p.b >= 180;
                if (line < 3 && !(line == 2 ? yellow : white)) ++wrong[line];
            }
        }
        for (int line = 0; line < 3; ++line) {
            EXPECT_GT(lit[line], 30) << menu.children[line]->label;
            EXPECT_EQ(wrong[line], 0) << menu.children[line]->label;
            const ivec4& r = menu.children[line]->drawRect;
            const std::string& label = menu.children[line]->label;
            // A TrueType line is measured with each glyph's left bearing added to its advance, and the last
            // glyph leaves its right side bearing empty: that much of the width stays dark.
            int dark = 0;
            for (char c : label) dark += font->type == TrueType ? font->GetCharacter(c)->bearing.x : 0;
            const Character* last = font->GetCharacter(label.back());
            if (font->type == TrueType) dark += (int(last->advance[0]) >> 6) - last->bearing.x - last->size.x;
            EXPECT_LE(left[line], r.x + kSlack) << label;
            EXPECT_GE(right[line], r.x + r.z - 1 - dark - kSlack) << label << ", dark " << dark;
        }
        EXPECT_EQ(lit[3], 0) << "ink outside every line";
    }
};

TEST_F(TextScene, MenuLinesLandInTheirMeasuredRectanglesInTheirColours) {
    Font* bitmap = fonts.LoadBitmapFont("assets/game/fonts/bitmap_font.png", "assets/game/fonts/bitmap_font.csv");
    ASSERT_GT(bitmap->height, 0);
    DrawMenu("bitmap", bitmap, 1.0f, ivec2(0, 0), 0);
    // TrueType text puts its baseline half a line below the position, so its lines sit a quarter line higher.
    DrawMenu("TrueType", fonts.defaultFont, 1.0f, ivec2(0, 0), fonts.defaultFont->height / 4);
    window.Resize(1024, 768);
    DrawMenu("bitmap, half size, moved, larger window", bitmap, 0.5f, ivec2(-150, 120), 0);
}

// A bitmap-strike face (BDF, one bit per pixel) goes through FreeType's
// conversion: its set bits draw at full coverage, its clear bits not at all, the right way up.
TEST_F(TextScene, OneBitGlyphsDrawAtFullCoverage) {
    OstrelTest::TempDir dir;
    std::string bdf =
        "STARTFONT 2.1\nFONT -test-block-medium-r-normal--16-160-75-75-c-80-iso10646-1\nSIZE 16 75 75\n"
        "FONTBOUNDINGBOX 8 16 0 -4\nSTARTPROPERTIES 2\nFONT_ASCENT 12\nFONT_DESCENT 4\nENDPROPERTIES\nCHARS 1\n"
        "STARTCHAR X\nENCODING 88\nSWIDTH 500 0\nDWIDTH 8 0\nBBX 6 12 0 0\nBITMAP\n";
    for (int row = 0; row < 12; ++row) bdf += row < 6 ? "E0\n" : "00\n";  // the top left quarter set
    dir.Write("block.bdf", bdf + "ENDCHAR\nENDFONT\n");
    fonts.LoadFont(dir.File("block.bdf"), 16);
    text.Begin(0);  // drawn in the font the manager keeps (and releases) under its path
    text.DrawText(fonts.fonts.at(dir.File("block.bdf")), "X", vec2(100.0f, 100.0f), 4.0f, vec4(1, 1, 1, 1));
    int lit = 0, white = 0;
    for (const OstrelTest::Rgba& p : Frame()) {
        lit += p.r >= 128;
        white += p.Near(255, 255, 255, 2);
    }
    EXPECT_NEAR(lit, 12 * 24, 24 * 2) << "the 3 x 6 block of set bits at 4 times its size, nothing more";
    EXPECT_GT(white, 8 * 20);
    // The glyph spans x 100..124 and y 84..132: its 12 rows rise from the baseline, half a line below y 100.
    EXPECT_TRUE(At(102, 86).Near(255, 255, 255)) << "the block's first texel: " << At(102, 86);
    EXPECT_TRUE(At(118, 96).Near(0, 0, 0)) << "right of the block: " << At(118, 96);
    EXPECT_TRUE(At(106, 120).Near(0, 0, 0)) << "below the block: " << At(106, 120);
}

}  // namespace
