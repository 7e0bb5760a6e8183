// The bitmap font loader against hand-written descriptions, with a recording
// image loader and texture manager in place of stb_image and GL.
#include "RecordingImageLoader.h"
#include "RecordingTextureManager.h"
#include "gl/BitmapFontLoader.h"
#include "gl/Font.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

namespace {

using Ostrel::BitmapFontLoader;
using Ostrel::Character;
using Ostrel::Font;
using OstrelTest::RecordingImageLoader;
using OstrelTest::RecordingTextureManager;

const char* const kAtlas = "atlas.png";

class BitmapFontLoaderTest : public ::testing::Test {
protected:
    RecordingImageLoader images;
    RecordingTextureManager textures;  // declared before any font, so it outlives them

    void SetUp() override { images.AddPicture(kAtlas, 256, 256, 0xffffff80u); }

    std::string WriteDescription(const std::string& text) {
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        const std::string path = ::testing::TempDir() + "bitmap_font_" + name + ".csv";
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    std::unique_ptr<Font> Load(const std::string& description, const std::string& atlas = kAtlas) {
        BitmapFontLoader loader(&images, &textures);
        return std::unique_ptr<Font>(loader.LoadBitmapFont(atlas, WriteDescription(description)));
    }

    // Loads while capturing standard output into `out`.
    std::unique_ptr<Font> LoadCapturing(const std::string& description, std::string* out) {
        ::testing::internal::CaptureStdout();
        std::unique_ptr<Font> font = Load(description);
        *out = ::testing::internal::GetCapturedStdout();
        return font;
    }
};

int Lines(const std::string& text) {
    int n = 0;
    for (char c : text) n += c == '\n';
    return n;
}

void ExpectUv(const Character* glyph, int index, float u, float v) {
    EXPECT_FLOAT_EQ(glyph->uv[index].x, u) << "uv " << index;
    EXPECT_FLOAT_EQ(glyph->uv[index].y, v) << "uv " << index;
}

TEST_F(BitmapFontLoaderTest, ExampleLinesSetHeightAdvancesAndSizesAndIgnoreTheRest) {
    auto font = Load(
        "Font Height,16\n"
        "Cell Width,16\n"
        "Cell Height,16\n"
        "Char 65 Base Width,9\n"
        "Char 7 Base Width,4\n"
        "Char 100 Base Width,12\n"
        "Char 65 X Offset,0\n"
        "Start Char,32\n"
        "Image Width,256\n");
    EXPECT_EQ(font->type, Ostrel::Bitmap);
    EXPECT_EQ(font->height, 16);
    const Character* a = font->GetCharacter(65);
    EXPECT_EQ(a->advance[0], 9u);
    EXPECT_EQ(a->advance[1], 0u);
    EXPECT_EQ(a->size.x, 16);
    EXPECT_EQ(a->size.y, 16);
    EXPECT_EQ(a->texture, nullptr);
    EXPECT_EQ(a->bearing.x, 0);
    EXPECT_EQ(a->bearing.y, 0);
    EXPECT_EQ(font->GetCharacter(7)->advance[0], 4u);
    EXPECT_EQ(font->GetCharacter(100)->advance[0], 12u);
    // Code 32 ("Start Char,32") and every other code got a cell but no size or advance.
    EXPECT_EQ(font->GetCharacter(32)->advance[0], 0u);
    EXPECT_EQ(font->GetCharacter(32)->size.x, 0);
    EXPECT_EQ(font->characters.size(), 128u);
}

TEST_F(BitmapFontLoaderTest, CharacterLineUsesTheHeightReadBeforeIt) {
    auto font = Load(
        "Char 65 Base Width,9\n"
        "Font Height,16\n"
        "Char 66 Base Width,8\n"
        "Font Height,20\n");
    EXPECT_EQ(font->GetCharacter(65)->size.x, 0);
    EXPECT_EQ(font->GetCharacter(65)->size.y, 0);
    EXPECT_EQ(font->GetCharacter(65)->advance[0], 9u);
    EXPECT_EQ(font->GetCharacter(66)->size.x, 16);
    EXPECT_EQ(font->GetCharacter(66)->size.y, 16);
    EXPECT_EQ(font->height, 20);  // later lines overwrite
}

TEST_F(BitmapFontLoaderTest, CodesOfOneTwoAndThreeDigitsParse) {
    auto font = Load(
        "Font Height,8\n"
        "Char 7 Base Width,4\n"
        "Char 42 Base Width,5\n"
        "Char 100 Base Width,12\n"
        "Char 127 Base Width,3\n");
    EXPECT_EQ(font->GetCharacter(7)->advance[0], 4u);
    EXPECT_EQ(font->GetCharacter(42)->advance[0], 5u);
    EXPECT_EQ(font->GetCharacter(100)->advance[0], 12u);
    EXPECT_EQ(font->GetCharacter(127)->advance[0], 3u);
    // No digit of a longer code leaked into a neighbour.
    EXPECT_EQ(font->GetCharacter(10)->advance[0], 0u);
    EXPECT_EQ(font->GetCharacter(4)->advance[0], 0u);
}

TEST_F(BitmapFontLoaderTest, CodeAbove127IsStoredNarrowedButGetsNoCell) {
    auto font = Load(
        "Cell Width,16\nCell Height,16\n"
        "Char 200 Base Width,6\n");
    const Character* glyph = font->GetCharacter(static_cast<char>(200));
    EXPECT_EQ(glyph->advance[0], 6u);
    for (int i = 0; i < 4; ++i) ExpectUv(glyph, i, 0.0f, 0.0f);
    EXPECT_EQ(font->characters.size(), 129u);
}

TEST_F(BitmapFontLoaderTest, MalformedNumbersAreReportedWithFileAndLineAndSkipped) {
    std::string out;
    std::unique_ptr<Font> font;
    const std::string description =
        "Font Height,16\n"
        " Font Height,24\n"          // leading space: the number is read at the comma
        "Cell Width,99999999999\n"   // out of the int range
        "Char 65 Base Width,wide\n"  // no digits in the width: the glyph is left alone
        "Char AB Base Width,7\n"     // no digits in the code
        "Cell Width,16\n"
        "Cell Height,16\n"
        "Char 66 Base Width,8\n";
    ASSERT_NO_THROW(font = LoadCapturing(description, &out));
    EXPECT_EQ(Lines(out), 4) << out;
    const std::string path = WriteDescription(description);
    for (int line : {2, 3, 4, 5}) {
        EXPECT_NE(out.find(path + ":" + std::to_string(line) + ":"), std::string::npos) << "line " << line << "\n"
                                                                                        << out;
    }
    EXPECT_EQ(font->height, 16);
    EXPECT_EQ(font->GetCharacter(65)->advance[0], 0u);
    EXPECT_EQ(font->GetCharacter(65)->size.x, 0);
    // Loading went on after the bad lines: the cell size and glyph 66 were read.
    EXPECT_EQ(font->GetCharacter(66)->advance[0], 8u);
    ExpectUv(font->GetCharacter(1), 2, 16.0f / 256.0f, 0.0f);
}

TEST_F(BitmapFontLoaderTest, CellCornersFollowTheGridRowByRow) {
    auto font = Load("Cell Width,16\nCell Height,16\n");
    const Character* g17 = font->GetCharacter(17);  // second row, second column
    ExpectUv(g17, 0, 0.0625f, 0.125f);
    ExpectUv(g17, 1, 0.125f, 0.125f);
    ExpectUv(g17, 2, 0.0625f, 0.0625f);
    ExpectUv(g17, 3, 0.125f, 0.0625f);
    ExpectUv(font->GetCharacter(0), 2, 0.0f, 0.0f);
    ExpectUv(font->GetCharacter(15), 3, 1.0f, 0.0f);  // last cell of the first row
    ExpectUv(font->GetCharacter(16), 2, 0.0f, 0.0625f);
    ExpectUv(font->GetCharacter(127), 1, 1.0f, 0.5f);  // 8 rows of 16 cells
}

TEST_F(BitmapFontLoaderTest, ZeroCellWidthPutsEveryCodeInTheFirstCell) {
    auto font = Load("Cell Width,0\nCell Height,16\n");
    const Character* first = font->GetCharacter(0);
    for (int code = 0; code < 128; ++code) {
        const Character* glyph = font->GetCharacter(static_cast<char>(code));
        for (int i = 0; i < 4; ++i) {
            EXPECT_FLOAT_EQ(glyph->uv[i].x, 0.0f) << code;
            EXPECT_FLOAT_EQ(glyph->uv[i].y, first->uv[i].y) << code;
        }
    }
    EXPECT_FLOAT_EQ(first->uv[0].y, 0.0625f);
}

TEST_F(BitmapFontLoaderTest, RowEndsOnceTheCellsReachTheAtlasWidth) {
    images.AddPicture("narrow.png", 100, 200);
    BitmapFontLoader loader(&images, &textures);
    std::unique_ptr<Font> font(
        loader.LoadBitmapFont("narrow.png", WriteDescription("Cell Width,30\nCell Height,20\n")));
    // 0, 30, 60, 90 fit; 120 passes 100, so code 4 starts the second row.
    ExpectUv(font->GetCharacter(3), 2, 0.9f, 0.0f);
    ExpectUv(font->GetCharacter(3), 3, 1.2f, 0.0f);
    ExpectUv(font->GetCharacter(4), 2, 0.0f, 0.1f);
    ExpectUv(font->GetCharacter(8), 2, 0.0f, 0.2f);
}

TEST_F(BitmapFontLoaderTest, EmptyLinesAreIgnoredAndAFinalLineWithoutLineEndCounts) {
    auto font = Load("\nFont Height,16\n\n\nCell Width,16\n\nChar 65 Base Width,9");
    EXPECT_EQ(font->height, 16);
    EXPECT_EQ(font->GetCharacter(65)->advance[0], 9u);
    EXPECT_EQ(font->GetCharacter(65)->size.y, 16);
}

TEST_F(BitmapFontLoaderTest, WindowsLineEndsReadTheSame) {
    auto font = Load("Font Height,16\r\nCell Width,16\r\nCell Height,16\r\nChar 65 Base Width,9\r\n");
    EXPECT_EQ(font->height, 16);
    EXPECT_EQ(font->GetCharacter(65)->advance[0], 9u);
    ExpectUv(font->GetCharacter(17), 2, 0.0625f, 0.0625f);
}

TEST_F(BitmapFontLoaderTest, MissingDescriptionGivesAnEmptyFontAndOneLine) {
    BitmapFontLoader loader(&images, &textures);
    ::testing::internal::CaptureStdout();
    std::unique_ptr<Font> font(loader.LoadBitmapFont(kAtlas, ::testing::TempDir() + "no_such_description.csv"));
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(Lines(out), 1) << out;
    EXPECT_NE(out.find("no_such_description.csv"), std::string::npos) << out;
    EXPECT_EQ(font->height, 0);
    EXPECT_EQ(font->characters.size(), 128u);
    for (const auto& entry : font->characters) {
        EXPECT_EQ(entry.second.advance[0], 0u);
        for (int i = 0; i < 4; ++i) ExpectUv(&entry.second, i, 0.0f, 0.0f);
    }
    ASSERT_EQ(textures.created.size(), 1u);  // the atlas is still made
}

TEST_F(BitmapFontLoaderTest, AtlasIsMadeFromThePictureWhichIsThenReleased) {
    auto font = Load("Font Height,16\n");
    ASSERT_EQ(images.requests.size(), 1u);
    EXPECT_EQ(images.requests[0], kAtlas);
    ASSERT_EQ(textures.created.size(), 1u);
    OstrelTest::RecordingTexture* atlas = textures.created[0];
    EXPECT_EQ(font->atlas, atlas);
    EXPECT_EQ(atlas->width, 256u);
    EXPECT_EQ(atlas->height, 256u);
    // Default parameters: the picture's RGBA as decoded, linear, clamped.
    EXPECT_EQ(atlas->params.channels, -1);
    EXPECT_EQ(atlas->params.filter, 1);
    EXPECT_EQ(atlas->params.clampToEdge, 1);
    ASSERT_EQ(atlas->pixels.size(), 256u * 256u * 4u);
    EXPECT_EQ(atlas->pixels[3], 0x80);
    EXPECT_EQ(images.LiveImages(), 0);
    EXPECT_TRUE(textures.deleted.empty());
}

TEST_F(BitmapFontLoaderTest, UndecodablePictureGivesEmptyAtlasAndFiniteZeroCoordinates) {
    auto font = Load("Font Height,16\nCell Width,16\nCell Height,16\nChar 65 Base Width,9\n", "broken.png");
    ASSERT_NE(font->atlas, nullptr);
    EXPECT_EQ(font->atlas->width, 0u);
    EXPECT_EQ(font->GetCharacter(65)->advance[0], 9u);
    for (const auto& entry : font->characters) {
        for (int i = 0; i < 4; ++i) {
            EXPECT_TRUE(std::isfinite(entry.second.uv[i].x) && std::isfinite(entry.second.uv[i].y));
        }
    }
    EXPECT_EQ(images.LiveImages(), 0);
}

TEST_F(BitmapFontLoaderTest, AtlasDiesWithItsFontExactlyOnce) {
    auto font = Load("Font Height,16\n");
    const Ostrel::ITexture2D* atlas = font->atlas;
    font->Destroy();
    EXPECT_EQ(textures.DeleteCount(atlas), 1);
    EXPECT_EQ(font->atlas, nullptr);
    font.reset();
    EXPECT_EQ(textures.DeleteCount(atlas), 1);

    auto other = Load("Font Height,16\n");
    atlas = other->atlas;
    other.reset();  // destruction alone also releases it
    EXPECT_EQ(textures.DeleteCount(atlas), 1);
}

}  // namespace
