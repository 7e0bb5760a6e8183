// Bitmap fonts from an atlas and its description, TrueType fonts through
// FreeType, and the font manager that owns both.
#include "TempDir.h"
#include "UnitDoubles.h"
#include "gl/BitmapFontLoader.h"
#include "gl/Font.h"
#include "gl/FontManager.h"
#include "gl/TrueTypeFontLoader.h"
#include "sdl/STBImageLoader.h"
#include <ft2build.h>
#include FT_FREETYPE_H
#include <gtest/gtest.h>
#include <stb_image_write.h>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>

using Ostrel::Font;

namespace {
const char* const kShippedFont = "assets/game/fonts/ThaleahFat.ttf";

std::string Stdout(const std::function<void()>& fn) {
    testing::internal::CaptureStdout();
    fn();
    return testing::internal::GetCapturedStdout();
}
}  // namespace

TEST(BitmapFont, DescriptionsAndBrokenInputs) {
    OstrelTest::TempDir dir;
    std::vector<uint8_t> grey(64 * 32, 200);
    ASSERT_NE(stbi_write_png(dir.File("atlas.png").c_str(), 64, 32, 1, grey.data(), 64), 0);
    std::filesystem::create_directory(dir.File("folder"));
    struct Row {
        const char* description;  // null: no file
        const char* atlas;
        int height;
        uint32_t advanceA;
        int lines;           // lines printed (description and picture together)
        const char* output;  // a part of what is printed
    };
    const Row rows[] = {
        {"Font Height,16\nCell Width,16\nCell Height,8\nChar 65 Base Width,9\r\nChar 7 Base Width,3", "atlas.png", 16,
         9, 0, ""},
        {"Font Height,16\nChar 65 Base Width,x9\nCell Width,16\n", "atlas.png", 16, 0, 1, "desc.csv:2: bad number"},
        {"Font Height,99999999999\nChar 65 Base Width,4\n", "atlas.png", 0, 4, 1, "desc.csv:1:"},
        {nullptr, "atlas.png", 0, 0, 1, "could not open font description"},
        {"Font Height,16\nChar 65 Base Width,9\n", "folder", 16, 9, 1, "folder"},
        {"Font Height,16\nChar 65 Base Width,9\n", "missing.png", 16, 9, 1, "missing.png"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.description ? row.description : "(none)");
        const std::string desc = dir.File(row.description ? "desc.csv" : "none.csv");
        if (row.description != nullptr) dir.Write("desc.csv", row.description);
        Ostrel::STBImageLoader images;
        OstrelTest::TextureRecorder textures;
        Ostrel::BitmapFontLoader loader(&images, &textures);
        std::unique_ptr<Font> font;
        std::string out;
        const std::string err = OstrelTest::Stderr(
            [&] { out = Stdout([&] { font.reset(loader.LoadBitmapFont(dir.File(row.atlas), desc)); }); });
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(font->type, Ostrel::Bitmap);
        EXPECT_EQ(font->height, row.height);
        EXPECT_EQ(font->GetCharacter('A')->advance[0], row.advanceA);
        EXPECT_EQ(OstrelTest::Lines(out + err), row.lines) << out << err;
        EXPECT_NE((out + err).find(row.output), std::string::npos) << out << err;
        for (const auto& [code, glyph] : font->characters)
            for (const auto& uv : glyph.uv) EXPECT_TRUE(std::isfinite(uv.x) && std::isfinite(uv.y)) << int(code);
    }
}

// Fails today: a directory opens as a stream, reads no line and goes unreported.
TEST(BitmapFont, DISABLED_DirectoryInPlaceOfTheDescriptionIsReportedOnOneLine) {
    OstrelTest::TempDir dir;
    Ostrel::STBImageLoader images;
    OstrelTest::TextureRecorder textures;
    std::unique_ptr<Font> font;
    const std::string out = Stdout([&] {
        OstrelTest::Stderr([&] {
            font.reset(Ostrel::BitmapFontLoader(&images, &textures).LoadBitmapFont(dir.File("a.png"), dir.Path()));
        });
    });
    EXPECT_EQ(OstrelTest::Lines(out), 1) << out;
    EXPECT_NE(out.find(dir.Path()), std::string::npos) << out;
}

TEST(BitmapFont, CellsFollowTheAtlasRowByRow) {
    OstrelTest::TempDir dir;
    std::vector<uint8_t> rgba(64 * 32 * 4, 0x80);
    ASSERT_NE(stbi_write_png(dir.File("atlas.png").c_str(), 64, 32, 4, rgba.data(), 64 * 4), 0);
    dir.Write("desc.csv", "Font Height,16\nCell Width,16\nCell Height,8\nChar 5 Base Width,7\n");
    Ostrel::STBImageLoader images;
    OstrelTest::TextureRecorder textures;
    std::unique_ptr<Font> font(
        Ostrel::BitmapFontLoader(&images, &textures).LoadBitmapFont(dir.File("atlas.png"), dir.File("desc.csv")));
    ASSERT_EQ(textures.created.size(), 1u);
    EXPECT_EQ(textures.created[0], std::vector<unsigned char>(64 * 32 * 4, 0x80));  // the atlas holds the picture
    EXPECT_EQ(font->atlas->width, 64u);
    // Four 16-pixel cells to a row: code 5 is the second cell of the second row.
    const Ostrel::Character* glyph = font->GetCharacter(5);
    EXPECT_EQ(glyph->size.x, 16);
    EXPECT_EQ(glyph->size.y, 16);
    EXPECT_FLOAT_EQ(glyph->uv[0].x, 0.25f);  // left, bottom
    EXPECT_FLOAT_EQ(glyph->uv[0].y, 0.5f);
    EXPECT_FLOAT_EQ(glyph->uv[3].x, 0.5f);  // right, top
    EXPECT_FLOAT_EQ(glyph->uv[3].y, 0.25f);
}

TEST(TrueTypeFont, ShippedFontGlyphsAreFreeTypesGreyRows) {
    OstrelTest::TextureRecorder textures;
    Ostrel::TrueTypeFontLoader loader(&textures);
    std::unique_ptr<Font> font;
    EXPECT_EQ(Stdout([&] { font.reset(loader.LoadTrueTypeFont(kShippedFont, 48)); }), "");
    EXPECT_EQ(font->height, 48);
    ASSERT_EQ(font->characters.size(), 128u);
    ASSERT_EQ(textures.created.size(), 128u);
    FT_Library library;
    FT_Face face;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    ASSERT_EQ(FT_New_Face(library, kShippedFont, 0, &face), 0);
    FT_Set_Pixel_Sizes(face, 0, 48);
    for (char code : {'X', 'g', ' '}) {
        ASSERT_EQ(FT_Load_Char(face, code, FT_LOAD_RENDER), 0);
        const FT_Bitmap& bm = face->glyph->bitmap;
        const Ostrel::Character* glyph = font->GetCharacter(code);
        EXPECT_EQ(glyph->size.x, int(bm.width));
        EXPECT_EQ(glyph->size.y, int(bm.rows));
        EXPECT_EQ(glyph->bearing.y, face->glyph->bitmap_top);
        EXPECT_EQ(glyph->advance[0], uint32_t(face->glyph->advance.x));  // 26.6 fixed point
        EXPECT_EQ(textures.created[int(code)],
                  std::vector<unsigned char>(bm.buffer, bm.buffer + bm.width * bm.rows));  // one byte a pixel
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    for (const char* bad : {"missing.ttf", "assets/game/config.txt"}) {
        std::unique_ptr<Font> empty;
        EXPECT_EQ(Stdout([&] { empty.reset(loader.LoadTrueTypeFont(bad, 20)); }),
                  "ERROR::FREETYPE: Failed to load font\n");
        EXPECT_EQ(empty->height, 20);
        EXPECT_TRUE(empty->characters.empty());
    }
}

// Embedded 1-bit bitmaps (here a BDF font) have rows of one bit a pixel; the
// glyph textures still get one full byte a pixel.
TEST(TrueTypeFont, OneBitGlyphsBecomeFullBytes) {
    OstrelTest::TempDir dir;
    const unsigned rows[] = {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81};
    std::ofstream bdf(dir.File("x.bdf"));
    bdf << "STARTFONT 2.1\nFONT -test-x-medium-r-normal--8-80-75-75-c-80-iso10646-1\nSIZE 8 75 75\n"
           "FONTBOUNDINGBOX 8 8 0 0\nSTARTPROPERTIES 3\nPIXEL_SIZE 8\nFONT_ASCENT 8\nFONT_DESCENT 0\n"
           "ENDPROPERTIES\nCHARS 1\nSTARTCHAR X\nENCODING 88\nSWIDTH 500 0\nDWIDTH 9 0\nBBX 8 8 0 0\nBITMAP\n"
        << std::hex << std::uppercase;
    for (unsigned row : rows) bdf << row << (row < 16 ? "0\n" : "\n");
    bdf << "ENDCHAR\nENDFONT\n";
    bdf.close();
    OstrelTest::TextureRecorder textures;
    std::unique_ptr<Font> font;
    Stdout([&] { font.reset(Ostrel::TrueTypeFontLoader(&textures).LoadTrueTypeFont(dir.File("x.bdf"), 8)); });
    std::vector<unsigned char> expected;
    for (unsigned row : rows)
        for (int x = 0; x < 8; ++x) expected.push_back((row >> (7 - x)) & 1u ? 255 : 0);
    ASSERT_EQ(font->GetCharacter('X')->size.x, 8);
    EXPECT_EQ(textures.created.at('X'), expected);
}

TEST(FontManager, OwnsTheDefaultFontAndEveryFontItLoads) {
    OstrelTest::TempDir dir;
    dir.Write("d.csv", "Font Height,12\n");
    std::filesystem::copy_file(kShippedFont, dir.File("copy.ttf"));
    OstrelTest::TextureRecorder textures;
    Ostrel::STBImageLoader images;
    Ostrel::FontManager fonts(&textures, &images, nullptr);
    fonts.Initialize();
    ASSERT_NE(fonts.defaultFont, nullptr);
    EXPECT_EQ(fonts.defaultFont->height, 48);
    EXPECT_EQ(fonts.defaultFont->type, Ostrel::TrueType);
    EXPECT_GT(fonts.defaultFont->GetCharacter('A')->size.x, 0);
    Font* bitmap = nullptr;
    OstrelTest::Stderr([&] { bitmap = fonts.LoadBitmapFont(dir.File("none.png"), dir.File("d.csv")); });
    EXPECT_EQ(bitmap->height, 12);
    EXPECT_EQ(fonts.LoadFont(dir.File("copy.ttf"), 20)->height, 20);
    EXPECT_EQ(fonts.fonts.size(), 3u);
    fonts.Destroy();
    EXPECT_TRUE(fonts.fonts.empty());
    fonts.Destroy();  // once only
}
