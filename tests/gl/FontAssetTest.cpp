// The game's shipped fonts drawn for real: the generated bitmap font matches
// what its description declares, a prompt measures what the menu layout will
// compute, and a sheet of both fonts at several scales is written for review.
#include "FixedSizeRenderer.h"
#include "GLTestContext.h"
#include "TempDir.h"
#include "core/FileReader.h"
#include "core/ImageData.h"
#include "gl/BitmapFontLoader.h"
#include "gl/Font.h"
#include "gl/GLTextRenderer.h"
#include "gl/GLTextureManager.h"
#include "gl/TrueTypeFontLoader.h"
#include "sdl/STBImageLoader.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

using Ostrel::Character;
using Ostrel::Font;
using Ostrel::vec2;
using Ostrel::vec4;

const char* const kAtlasPath = "assets/game/fonts/bitmap_font.png";
const char* const kDescriptionPath = "assets/game/fonts/bitmap_font.csv";
const char* const kTrueTypePath = "assets/game/fonts/ThaleahFat.ttf";
const vec4 kWhite(1.0f, 1.0f, 1.0f, 1.0f);

// The value after "key," on the description's line that starts with it, or -1.
int Declared(const std::string& key) {
    std::ifstream file(kDescriptionPath);
    std::string line;
    while (std::getline(file, line)) {
        if (line.rfind(key + ",", 0) == 0) return std::stoi(line.substr(key.size() + 1));
    }
    return -1;
}

// Columns [first, last] of ink (alpha > 0) inside a cell of the atlas, relative to the cell.
struct Columns {
    int first = -1, last = -1;
};

Columns CellInk(const Ostrel::ImageData& atlas, int code, int cellWidth, int cellHeight) {
    const int perRow = static_cast<int>(atlas.width) / cellWidth;
    const int x0 = (code % perRow) * cellWidth;
    const int y0 = (code / perRow) * cellHeight;
    Columns columns;
    for (int x = 0; x < cellWidth; ++x) {
        for (int y = 0; y < cellHeight; ++y) {
            if (atlas.pixels[((static_cast<size_t>(y0 + y) * atlas.width) + x0 + x) * 4 + 3] == 0) continue;
            if (columns.first < 0) columns.first = x;
            columns.last = x;
            break;
        }
    }
    return columns;
}

class FontAssetTest : public ::testing::Test {
protected:
    std::unique_ptr<OstrelTest::GLTestContext> context;
    OstrelTest::FixedSizeRenderer renderer{800, 600};
    Ostrel::FileReader reader;
    Ostrel::STBImageLoader images;
    std::unique_ptr<Ostrel::GLTextureManager> textures;
    std::unique_ptr<Ostrel::GLTextRenderer> text;
    std::unique_ptr<Font> bitmap;
    std::unique_ptr<Font> trueType;

    void SetUp() override {
        context = std::make_unique<OstrelTest::GLTestContext>(800, 600);
        ASSERT_TRUE(context->Ok());
        textures = std::make_unique<Ostrel::GLTextureManager>(&images);
        text = std::make_unique<Ostrel::GLTextRenderer>(&renderer, &reader);
        text->Initialize();
        Ostrel::BitmapFontLoader bitmapLoader(&images, textures.get());
        bitmap.reset(bitmapLoader.LoadBitmapFont(kAtlasPath, kDescriptionPath));
        Ostrel::TrueTypeFontLoader trueTypeLoader(textures.get());
        trueType.reset(trueTypeLoader.LoadTrueTypeFont(kTrueTypePath, 48));
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    void TearDown() override {
        if (::testing::Test::HasFailure()) {
            const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
            context->SavePng(OstrelTest::ExecutableDir() + "/FontAssetTest_" + name + ".png");
        }
        bitmap.reset();
        trueType.reset();
        text->Shutdown();
        text.reset();
        context.reset();
    }

    // Ink columns of window rows [top, bottom).
    Columns RowInk(int top, int bottom) {
        const std::vector<uint8_t> frame = context->ReadPixels();
        Columns columns;
        for (int x = 0; x < context->width; ++x) {
            for (int y = top; y < bottom; ++y) {
                if (frame[(static_cast<size_t>(y) * context->width + x) * 4] <= 64) continue;
                if (columns.first < 0) columns.first = x;
                columns.last = x;
                break;
            }
        }
        return columns;
    }
};

TEST_F(FontAssetTest, GeneratedBitmapFontLoadsWithTheSizesItDeclares) {
    const int fontHeight = Declared("Font Height");
    const int cellWidth = Declared("Cell Width");
    const int cellHeight = Declared("Cell Height");
    ASSERT_EQ(cellWidth, 32);
    ASSERT_EQ(cellHeight, 32);
    ASSERT_GT(fontHeight, 0);
    EXPECT_EQ(bitmap->height, fontHeight);
    ASSERT_NE(bitmap->atlas, nullptr);
    EXPECT_EQ(bitmap->atlas->width, 512u);
    EXPECT_EQ(bitmap->atlas->height, 512u);
    // 'A' (65) sits in row 4, column 1 of the 16 x 16 grid.
    const Character* a = bitmap->GetCharacter('A');
    EXPECT_FLOAT_EQ(a->uv[2].x, 32.0f / 512.0f);
    EXPECT_FLOAT_EQ(a->uv[2].y, 128.0f / 512.0f);
    EXPECT_FLOAT_EQ(a->uv[1].x - a->uv[0].x, static_cast<float>(cellWidth) / 512.0f);
    EXPECT_FLOAT_EQ(a->uv[0].y - a->uv[2].y, static_cast<float>(cellHeight) / 512.0f);
    EXPECT_EQ(a->size.x, fontHeight);
    for (char c : std::string("Click to play")) EXPECT_GT(bitmap->GetCharacter(c)->advance[0], 0u) << c;
}

TEST_F(FontAssetTest, PromptAtHalfScaleSpansTheWidthTheMenuLayoutComputes) {
    const std::string prompt = "Click to play";
    const float scale = 0.5f;
    // The menu's measure of a bitmap line: advances scaled and truncated as they add up.
    int layoutWidth = 0;
    for (char c : prompt) {
        layoutWidth = static_cast<int>(static_cast<float>(bitmap->GetCharacter(c)->advance[0]) * scale +
                                       static_cast<float>(layoutWidth));
    }
    const int x0 = 300;
    const int y0 = 200;
    text->Begin(0);
    text->DrawText(bitmap.get(), prompt, vec2(static_cast<float>(x0), static_cast<float>(y0)), scale, kWhite);
    text->End();
    const Columns drawn = RowInk(y0, y0 + static_cast<int>(bitmap->height * scale));
    ASSERT_GE(drawn.first, 0);

    // Where the ink must start and end, from the glyphs' own side bearings in the atlas.
    std::unique_ptr<Ostrel::ImageData> atlas(images.LoadImage(kAtlasPath));
    const Columns first = CellInk(*atlas, prompt.front(), 32, 32);
    const Columns last = CellInk(*atlas, prompt.back(), 32, 32);
    float penBeforeLast = 0.0f;
    for (size_t i = 0; i + 1 < prompt.size(); ++i) {
        penBeforeLast += static_cast<float>(bitmap->GetCharacter(prompt[i])->advance[0]) * scale;
    }
    EXPECT_NEAR(drawn.first, x0 + first.first * scale, 1.0);
    EXPECT_NEAR(drawn.last + 1, x0 + penBeforeLast + (last.last + 1) * scale, 1.0);
    // Nothing spills past the measured width, and the trailing gap is under one glyph's bearing.
    EXPECT_LT(drawn.last, x0 + layoutWidth);
    EXPECT_GE(drawn.last + 1, x0 + layoutWidth - static_cast<int>(bitmap->GetCharacter('y')->advance[0] * scale));
}

// Both fonts at several scales; written to the build tree to be looked at.
TEST_F(FontAssetTest, SheetOfBothFontsAtSeveralScales) {
    struct Line {
        Font* font;
        float scale;
        std::string words;
        float y;
    };
    const std::vector<Line> lines = {
        {bitmap.get(), 0.5f, "Bitmap 0.5: Click to play - New Game 16", 20.0f},
        {bitmap.get(), 1.0f, "Bitmap 1.0: Quit Game (12/20)", 50.0f},
        {bitmap.get(), 1.5f, "Bitmap 1.5: Credits!", 100.0f},
        {bitmap.get(), 2.0f, "Bitmap 2: gjpqy", 170.0f},
        {trueType.get(), 0.5f, "TrueType 0.5: MS: 16.7 FPS: 60", 270.0f},
        {trueType.get(), 1.0f, "TrueType 1.0: Test gjpqy", 320.0f},
        {trueType.get(), 1.5f, "TrueType 1.5: AaBb", 420.0f},
        {trueType.get(), 0.75f, "{[(#$%&@*+=-_~|/)]}", 520.0f},
    };
    text->Begin(0);
    for (const Line& line : lines) text->DrawText(line.font, line.words, vec2(20.0f, line.y), line.scale, kWhite);
    text->End();
    const std::string path = OstrelTest::ExecutableDir() + "/text_fonts.png";
    ASSERT_TRUE(context->SavePng(path));
    std::cout << "font sheet: " << path << std::endl;
    // Every line put ink where it was asked to: a bitmap line below its y, a
    // TrueType line around it (its baseline is half a height lower).
    for (const Line& line : lines) {
        const float height = static_cast<float>(line.font->height) * line.scale;
        const float top = line.font->type == Ostrel::TrueType ? line.y - height / 2.0f : line.y;
        const Columns ink = RowInk(static_cast<int>(top), static_cast<int>(line.y + height));
        EXPECT_GE(ink.first, 20) << line.words;
        EXPECT_LT(ink.first, 40) << line.words;
    }
}

}  // namespace
