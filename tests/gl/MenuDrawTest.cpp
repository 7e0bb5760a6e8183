// A menu drawn for real with the game's bitmap font: every line lands inside
// the rectangle the layout computed, plain lines white, the selection yellow.
#include "FixedSizeRenderer.h"
#include "GLTestContext.h"
#include "TempDir.h"

#include "components/MenuComponent.h"
#include "core/EventBuffer.h"
#include "core/FileReader.h"
#include "gl/BitmapFontLoader.h"
#include "gl/Font.h"
#include "gl/GLTextRenderer.h"
#include "gl/GLTextureManager.h"
#include "sdl/SDLInputManager.h"
#include "sdl/STBImageLoader.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

using Ostrel::MenuComponent;

const char* const kAtlasPath = "assets/game/fonts/bitmap_font.png";
const char* const kDescriptionPath = "assets/game/fonts/bitmap_font.csv";

// Linear filtering may bleed a pixel past a glyph quad's edge.
constexpr int kSlack = 1;

struct InkStats {
    int lit = 0;     // pixels clearly lit
    int yellow = 0;  // lit with little blue
    int white = 0;   // lit with blue close to red
    int minY = 1 << 30, maxY = -1;
};

class MenuDrawTest : public ::testing::Test {
protected:
    std::unique_ptr<OstrelTest::GLTestContext> context;
    OstrelTest::FixedSizeRenderer renderer{800, 600};
    Ostrel::FileReader reader;
    Ostrel::STBImageLoader images;
    Ostrel::EventBuffer events;
    Ostrel::SDLInputManager input{&events};
    std::unique_ptr<Ostrel::GLTextureManager> textures;
    std::unique_ptr<Ostrel::GLTextRenderer> text;
    std::unique_ptr<Ostrel::Font> font;

    void SetUp() override {
        context = std::make_unique<OstrelTest::GLTestContext>(800, 600);
        ASSERT_TRUE(context->Ok());
        textures = std::make_unique<Ostrel::GLTextureManager>(&images);
        text = std::make_unique<Ostrel::GLTextRenderer>(&renderer, &reader);
        text->Initialize();
        Ostrel::BitmapFontLoader loader(&images, textures.get());
        font.reset(loader.LoadBitmapFont(kAtlasPath, kDescriptionPath));
        ASSERT_GT(font->height, 0);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    void TearDown() override {
        if (::testing::Test::HasFailure() && context && context->Ok()) {
            const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
            context->SavePng(OstrelTest::ExecutableDir() + "/MenuDrawTest_" + name + ".png");
        }
        font.reset();
        if (text) text->Shutdown();
        text.reset();
        textures.reset();
        context.reset();
    }

    void Draw(MenuComponent& menu) {
        text->Begin(0);
        menu.Draw();
        text->End();
    }

    static bool Inside(const Ostrel::ivec4& r, int x, int y, int slack) {
        return x >= r.x - slack && x < r.x + r.z + slack && y >= r.y - slack && y < r.y + r.w + slack;
    }

    // Classifies every lit pixel of the frame by the line rectangle it lies in;
    // index rects.size() collects the pixels outside every rectangle.
    std::vector<InkStats> Classify(const std::vector<Ostrel::ivec4>& rects) {
        const std::vector<uint8_t> frame = context->ReadPixels();
        std::vector<InkStats> stats(rects.size() + 1);
        for (int y = 0; y < context->height; ++y) {
            for (int x = 0; x < context->width; ++x) {
                const uint8_t* p = &frame[(static_cast<size_t>(y) * context->width + x) * 4];
                const int r = p[0], g = p[1], b = p[2];
                if (std::max({r, g, b}) < 40) continue;
                size_t slot = rects.size();
                for (size_t i = 0; i < rects.size(); ++i) {
                    if (Inside(rects[i], x, y, kSlack)) {
                        slot = i;
                        break;
                    }
                }
                InkStats& s = stats[slot];
                if (r < 160) continue;  // antialiased edge: position only counts for clear ink
                ++s.lit;
                if (g >= r - 40 && b < 60) ++s.yellow;
                if (g >= r - 40 && b >= r - 40) ++s.white;
                s.minY = std::min(s.minY, y);
                s.maxY = std::max(s.maxY, y);
            }
        }
        return stats;
    }
};

// Every line has ink only inside its computed rectangle: the selection yellow,
// the rest white. At the game's own half scale, shifted, the lines follow the offset.
TEST_F(MenuDrawTest, EntriesAreWhiteAndTheSelectionYellowInsideTheirRectangles) {
    struct Case {
        const char* name;
        std::vector<const char*> entries;  // a name starting with '~' is a label
        float scale;
        Ostrel::ivec2 offset;
        int selected, minInk;
    };
    const Case cases[] = {{"scale one", {"Continue", "New Game", "~Art - Dorvane", "Quit Game"}, 1.0f, {0, 0}, 1, 20},
                          {"half scale, offset", {"Restart", "Quit Game"}, 0.5f, {-150, 120}, 0, 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        glClear(GL_COLOR_BUFFER_BIT);
        MenuComponent menu(&input, text.get(), font.get());
        for (const char* e : c.entries) {
            if (e[0] == '~')
                menu.AddLabel(e + 1);
            else
                menu.AddEntry(e, nullptr);
        }
        menu.Initialize();
        menu.SetScale(c.scale);
        menu.SetPosition(c.offset);
        menu.Open();
        menu.selectedIndex = c.selected;
        menu.Layout();
        Draw(menu);

        const std::string shot = OstrelTest::ExecutableDir() + "/menu_draw_" + std::to_string(&c - cases) + ".png";
        context->SavePng(shot);
        std::cout << "menu frame: " << shot << std::endl;

        const int lineHeight = static_cast<int>(static_cast<float>(font->height) * c.scale);
        const int n = static_cast<int>(c.entries.size());
        EXPECT_EQ(menu.children[0]->drawRect.w, lineHeight);
        EXPECT_EQ(menu.children[0]->drawRect.y, c.offset.y - ((lineHeight + 10) * n) / 2 + 300);

        std::vector<Ostrel::ivec4> rects;
        for (const MenuComponent* entry : menu.children) rects.push_back(entry->drawRect);
        const std::vector<InkStats> stats = Classify(rects);
        for (size_t i = 0; i < rects.size(); ++i) {
            const InkStats& s = stats[i];
            SCOPED_TRACE(menu.children[i]->label);
            ASSERT_GT(s.lit, c.minInk) << "the line has ink";
            EXPECT_EQ(static_cast<int>(i) == c.selected ? s.yellow : s.white, s.lit) << "yellow selection, else white";
            EXPECT_GE(s.minY, rects[i].y - kSlack);
            EXPECT_LT(s.maxY, rects[i].y + rects[i].w + kSlack);
        }
        EXPECT_EQ(stats.back().lit, 0) << "ink outside every computed rectangle";
    }
}

TEST_F(MenuDrawTest, ClosedMenuLeavesTheFrameEmpty) {
    MenuComponent menu(&input, text.get(), font.get());
    menu.AddEntry("Continue", nullptr);
    menu.Initialize();
    menu.Layout();
    Draw(menu);
    EXPECT_EQ(Classify({}).back().lit, 0);
}

}  // namespace
