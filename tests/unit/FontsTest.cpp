// Bitmap fonts from an atlas and its description, TrueType fonts through
// FreeType, and the font manager that owns both.
#include "TempDir.h"
#include "UnitDoubles.h"
#include "gl/BitmapFontLoader.h"
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

using namespace OstrelTest;

namespace {
const char* const kShippedFont = "assets/game/fonts/ThaleahFat.ttf";

struct Bitmaps {
    TempDir dir;
    STBImageLoader images;
    TextureRecorder textures;
    Bitmaps() {  // a 64 x 32 atlas: four 16-pixel cells to a row
        std::vector<uint8_t> rgba(64 * 32 * 4, 0x80);
        stbi_write_png(dir.File("atlas.png").c_str(), 64, 32, 4, rgba.data(), 64 * 4);
        std::filesystem::create_directory(dir.File("folder"));
    }
    // The font, and the lines printed while loading it.
    std::unique_ptr<Font> Load(const std::string& atlas, const std::string& description, std::string* out) {
        std::unique_ptr<Font> font;
        *out += Stderr([&] {
            *out +=
                Stdout([&] { font.reset(BitmapFontLoader(&images, &textures).LoadBitmapFont(atlas, description)); });
        });
        return font;
    }
};
}  // namespace

TEST(BitmapFont, DescriptionsAndBrokenInputs) {
    struct Row {
        const char* description;  // null: no such file
        const char* atlas;
        int height;
        uint32_t advanceA;
        const char* printed;  // the one line printed, or ""
    };
    const Row rows[] = {
        {"Font Height,16\nCell Width,16\nCell Height,8\nChar 65 Base Width,9\r\nChar 5 Base Width,3", "atlas.png", 16,
         9, ""},
        {"Font Height,16\nChar 65 Base Width,x9\nCell Width,16\n", "atlas.png", 16, 0, "desc.csv:2: bad number"},
        {"Font Height,99999999999\nChar 65 Base Width,4\n", "atlas.png", 0, 4, "desc.csv:1: bad number"},
        {nullptr, "atlas.png", 0, 0, "could not open font description"},
        {"Font Height,16\nChar 65 Base Width,9\n", "folder", 16, 9, "folder"},
        {"Font Height,16\nChar 65 Base Width,9\n", "missing.png", 16, 9, "missing.png"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.description ? row.description : "(none)");
        Bitmaps b;
        if (row.description) b.dir.Write("desc.csv", row.description);
        std::string out;
        std::unique_ptr<Font> font = b.Load(b.dir.File(row.atlas), b.dir.File("desc.csv"), &out);
        EXPECT_EQ(font->type, Bitmap);
        EXPECT_EQ(font->height, row.height);
        EXPECT_EQ(font->GetCharacter('A')->advance[0], row.advanceA);
        EXPECT_EQ(Lines(out), *row.printed ? 1 : 0) << out;
        EXPECT_NE(out.find(row.printed), std::string::npos) << out;
        for (const auto& [code, glyph] : font->characters)
            for (const vec2& uv : glyph.uv) EXPECT_TRUE(std::isfinite(uv.x) && std::isfinite(uv.y)) << int(code);
        if (row.height != 16 || *row.printed) continue;
        EXPECT_EQ(b.textures.created.at(0), std::vector<unsigned char>(64 * 32 * 4, 0x80));  // the atlas
        const Character* glyph = font->GetCharacter(5);  // the second cell of the second row
        EXPECT_EQ(Str({glyph->size.x, glyph->size.y, 0, 0}), "16,16,0,0");
        const vec2 leftBottom = glyph->uv[0], rightTop = glyph->uv[3];
        EXPECT_EQ(std::vector<float>({leftBottom.x, leftBottom.y, rightTop.x, rightTop.y}),
                  std::vector<float>({0.25f, 0.5f, 0.5f, 0.25f}));
    }
}

// Fails today: a directory opens as a stream, yields no line and goes unreported.
TEST(BitmapFont, DISABLED_DirectoryInPlaceOfTheDescriptionIsReportedOnOneLine) {
    Bitmaps b;
    std::string out;
    b.Load(b.dir.File("atlas.png"), b.dir.File("folder"), &out);
    EXPECT_EQ(Lines(out), 1) << out;
    EXPECT_NE(out.find("folder"), std::string::npos) << out;
}

TEST(TrueTypeFont, GlyphsAreFreeTypesRowsOneByteAPixel) {
    TextureRecorder textures;
    TrueTypeFontLoader loader(&textures);
    std::unique_ptr<Font> font;
    EXPECT_EQ(Stdout([&] { font.reset(loader.LoadTrueTypeFont(kShippedFont, 48)); }), "");
    EXPECT_EQ(font->height, 48);
    ASSERT_EQ(textures.created.size(), 128u);
    FT_Library library;
    FT_Face face;
    ASSERT_EQ(FT_Init_FreeType(&library) | FT_New_Face(library, kShippedFont, 0, &face), 0);
    FT_Set_Pixel_Sizes(face, 0, 48);
    for (char code : {'X', 'g', ' '}) {
        ASSERT_EQ(FT_Load_Char(face, code, FT_LOAD_RENDER), 0);
        const FT_GlyphSlot slot = face->glyph;
        const Character* glyph = font->GetCharacter(code);
        EXPECT_EQ(Str({glyph->size.x, glyph->size.y, glyph->bearing.y, int(glyph->advance[0])}),
                  Str({int(slot->bitmap.width), int(slot->bitmap.rows), slot->bitmap_top, int(slot->advance.x)}));
        EXPECT_EQ(textures.created[size_t(code)],
                  std::vector<unsigned char>(slot->bitmap.buffer,
                                             slot->bitmap.buffer + slot->bitmap.width * slot->bitmap.rows));
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    for (const char* bad : {"missing.ttf", "assets/game/config.txt"}) {
        EXPECT_EQ(Stdout([&] { font.reset(loader.LoadTrueTypeFont(bad, 20)); }),
                  "ERROR::FREETYPE: Failed to load font\n");
        EXPECT_EQ(font->height, 20);
        EXPECT_TRUE(font->characters.empty());
    }
    // A face of 1-bit bitmaps (here BDF) still gives one full byte a pixel.
    TempDir dir;
    std::ofstream(dir.File("x.bdf"))
        << "STARTFONT 2.1\nFONT -x-x-medium-r-normal--8-80-75-75-c-80-iso10646-1\nSIZE 8 75 75\nFONTBOUNDINGBOX 8 8 0 "
           "0\n"
           "STARTPROPERTIES 3\nPIXEL_SIZE 8\nFONT_ASCENT 8\nFONT_DESCENT 0\nENDPROPERTIES\nCHARS 1\nSTARTCHAR X\n"
           "ENCODING 88\nSWIDTH 500 0\nDWIDTH 9 0\nBBX 8 8 0 "
           "0\nBITMAP\n81\n42\n24\n18\n18\n24\n42\n81\nENDCHAR\nENDFONT\n";
    textures.created.clear();
    Stdout([&] { font.reset(loader.LoadTrueTypeFont(dir.File("x.bdf"), 8)); });
    std::vector<unsigned char> expected;
    for (unsigned row : {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81})
        for (int x = 7; x >= 0; --x) expected.push_back((row >> x) & 1 ? 255 : 0);
    EXPECT_EQ(textures.created.at('X'), expected);
}

TEST(FontManager, OwnsTheDefaultFontAndEveryFontItLoads) {
    TempDir dir;
    dir.Write("d.csv", "Font Height,12\n");
    std::filesystem::copy_file(kShippedFont, dir.File("copy.ttf"));
    TextureRecorder textures;
    STBImageLoader images;
    FontManager fonts(&textures, &images, nullptr);
    fonts.Initialize();
    ASSERT_NE(fonts.defaultFont, nullptr);
    EXPECT_EQ(fonts.defaultFont->height, 48);
    EXPECT_GT(fonts.defaultFont->GetCharacter('A')->size.x, 0);
    Stderr([&] { EXPECT_EQ(fonts.LoadBitmapFont(dir.File("none.png"), dir.File("d.csv"))->height, 12); });
    EXPECT_EQ(fonts.LoadFont(dir.File("copy.ttf"), 20)->height, 20);
    EXPECT_EQ(fonts.fonts.size(), 3u);
    fonts.Destroy();
    EXPECT_TRUE(fonts.fonts.empty());
}
