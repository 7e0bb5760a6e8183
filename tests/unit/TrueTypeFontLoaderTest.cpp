// TrueType loading through the real FreeType with the game's default font;
// glyph textures go to a recording texture manager instead of GL.
#include "RecordingTextureManager.h"
#include "gl/Font.h"
#include "gl/TrueTypeFontLoader.h"

#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <fstream>
#include <memory>
#include <string>

namespace {

using Ostrel::Character;
using Ostrel::Font;
using Ostrel::TrueTypeFontLoader;
using OstrelTest::RecordingTexture;
using OstrelTest::RecordingTextureManager;

const char* const kDefaultFontPath = "assets/game/fonts/ThaleahFat.ttf";

// What FreeType itself reports for one code, read independently of the loader.
struct Reference {
    bool ok = false;
    int width = 0, rows = 0, left = 0, top = 0;
    long advanceX = 0, advanceY = 0;
    std::vector<unsigned char> pixels;
};

class TrueTypeFontLoaderTest : public ::testing::Test {
protected:
    RecordingTextureManager textures;

    std::unique_ptr<Font> Load(const std::string& path, unsigned height) {
        TrueTypeFontLoader loader(&textures);
        return std::unique_ptr<Font>(loader.LoadTrueTypeFont(path, height));
    }

    static std::vector<Reference> ReadWithFreeType(const std::string& path, unsigned height) {
        std::vector<Reference> refs(128);
        FT_Library library;
        if (FT_Init_FreeType(&library) != 0) return refs;
        FT_Face face;
        if (FT_New_Face(library, path.c_str(), 0, &face) == 0) {
            FT_Set_Pixel_Sizes(face, 0, height);
            for (unsigned code = 0; code < 128; ++code) {
                Reference& r = refs[code];
                if (FT_Load_Char(face, code, FT_LOAD_RENDER) != 0) continue;
                const FT_Bitmap& bm = face->glyph->bitmap;
                r.ok = true;
                r.width = static_cast<int>(bm.width);
                r.rows = static_cast<int>(bm.rows);
                r.left = face->glyph->bitmap_left;
                r.top = face->glyph->bitmap_top;
                r.advanceX = face->glyph->advance.x;
                r.advanceY = face->glyph->advance.y;
                for (unsigned y = 0; y < bm.rows; ++y) {
                    r.pixels.insert(r.pixels.end(), bm.buffer + y * bm.pitch, bm.buffer + y * bm.pitch + bm.width);
                }
            }
            FT_Done_Face(face);
        }
        FT_Done_FreeType(library);
        return refs;
    }
};

TEST_F(TrueTypeFontLoaderTest, MissingFileGivesOneLineAndAnEmptyFontOfTheRequestedHeight) {
    ::testing::internal::CaptureStdout();
    auto font = Load("assets/game/fonts/does_not_exist.ttf", 37);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "ERROR::FREETYPE: Failed to load font\n");
    EXPECT_EQ(font->type, Ostrel::TrueType);
    EXPECT_EQ(font->height, 37);
    EXPECT_TRUE(font->characters.empty());
    EXPECT_EQ(font->atlas, nullptr);
    EXPECT_TRUE(textures.created.empty());
}

TEST_F(TrueTypeFontLoaderTest, FileThatIsNotAFontIsReportedTheSameWay) {
    const std::string path = ::testing::TempDir() + "not_a_font.ttf";
    std::ofstream(path) << "Font Height,16\nThis is text, not a font.\n";
    ::testing::internal::CaptureStdout();
    auto font = Load(path, 20);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "ERROR::FREETYPE: Failed to load font\n");
    EXPECT_TRUE(font->characters.empty());
}

TEST_F(TrueTypeFontLoaderTest, DefaultFontGivesAllLowCodesAsFreeTypeRendersThem) {
    const std::vector<Reference> refs = ReadWithFreeType(kDefaultFontPath, 48);
    ASSERT_TRUE(refs['X'].ok) << "FreeType cannot read " << kDefaultFontPath;
    ::testing::internal::CaptureStdout();
    auto font = Load(kDefaultFontPath, 48);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(font->height, 48);
    ASSERT_EQ(font->characters.size(), 128u);
    ASSERT_EQ(textures.created.size(), 128u);
    for (unsigned code = 0; code < 128; ++code) {
        SCOPED_TRACE("code " + std::to_string(code));
        const Reference& r = refs[code];
        const Character* glyph = font->GetCharacter(static_cast<char>(code));
        EXPECT_EQ(glyph->state, Ostrel::LifecycleCreated);
        EXPECT_EQ(glyph->size.x, r.width);
        EXPECT_EQ(glyph->size.y, r.rows);
        EXPECT_EQ(glyph->bearing.x, r.left);
        EXPECT_EQ(glyph->bearing.y, r.top);
        EXPECT_EQ(glyph->advance[0], static_cast<uint32_t>(r.advanceX));  // still 26.6 fixed point
        EXPECT_EQ(glyph->advance[1], static_cast<uint32_t>(r.advanceY));
        for (const auto& uv : glyph->uv) EXPECT_TRUE(uv.x == 0.0f && uv.y == 0.0f);
        // Each glyph has its own single-channel, linear, clamped texture of the bitmap.
        ASSERT_EQ(glyph->texture, textures.created[code]);
        const RecordingTexture* texture = textures.created[code];
        EXPECT_EQ(texture->params.channels, 1);
        EXPECT_EQ(texture->params.filter, 1);
        EXPECT_EQ(texture->params.clampToEdge, 1);
        EXPECT_EQ(texture->width, static_cast<unsigned>(r.width));
        EXPECT_EQ(texture->height, static_cast<unsigned>(r.rows));
        EXPECT_EQ(texture->pixels, r.pixels);
    }
    // The space has no ink but still a (0 x 0) texture and a real advance.
    EXPECT_EQ(font->GetCharacter(' ')->size.x, 0);
    EXPECT_NE(font->GetCharacter(' ')->texture, nullptr);
    EXPECT_GT(font->GetCharacter(' ')->advance[0], 0u);
    EXPECT_GT(font->GetCharacter('X')->size.x, 0);
}

// A face whose glyphs are 1-bit bitmaps (here a BDF font; TrueType bitmap
// strikes load the same way) has rows of one byte per eight pixels. Its glyph
// textures must still hold one full byte of coverage per pixel, row by row.
TEST_F(TrueTypeFontLoaderTest, OneBitGlyphBitmapsBecomeFullBytesPerPixel) {
    struct Glyph {
        char code;
        int width;
        std::vector<unsigned> rows;  // one byte per row, leftmost pixel in the top bit
    };
    const std::vector<Glyph> glyphs = {
        {'X', 8, {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81}},
        {'L', 5, {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0xF8}},
    };
    const std::string path = ::testing::TempDir() + "one_bit_font.bdf";
    {
        std::ofstream bdf(path);
        bdf << "STARTFONT 2.1\nFONT -test-onebit-medium-r-normal--8-80-75-75-c-80-iso10646-1\nSIZE 8 75 75\n"
               "FONTBOUNDINGBOX 8 8 0 0\nSTARTPROPERTIES 3\nPIXEL_SIZE 8\nFONT_ASCENT 8\nFONT_DESCENT 0\n"
               "ENDPROPERTIES\nCHARS "
            << glyphs.size() << "\n";
        for (const Glyph& g : glyphs) {
            bdf << "STARTCHAR " << g.code << "\nENCODING " << static_cast<int>(g.code) << "\nSWIDTH 500 0\nDWIDTH "
                << g.width + 1 << " 0\nBBX " << g.width << " 8 0 0\nBITMAP\n"
                << std::hex << std::uppercase;
            for (unsigned row : g.rows) bdf << (row < 16 ? "0" : "") << row << "\n";
            bdf << std::dec << "ENDCHAR\n";
        }
        bdf << "ENDFONT\n";
    }

    auto font = Load(path, 8);
    for (const Glyph& g : glyphs) {
        SCOPED_TRACE(std::string("glyph ") + g.code);
        const Character* glyph = font->GetCharacter(g.code);
        ASSERT_NE(glyph->texture, nullptr);
        const auto* texture = static_cast<const RecordingTexture*>(glyph->texture);
        EXPECT_EQ(glyph->size.x, g.width);
        EXPECT_EQ(glyph->size.y, 8);
        EXPECT_EQ(texture->params.channels, 1);
        std::vector<unsigned char> expected;
        for (unsigned row : g.rows) {
            for (int x = 0; x < g.width; ++x) expected.push_back((row >> (7 - x)) & 1u ? 255 : 0);
        }
        EXPECT_EQ(texture->pixels, expected);
    }
}

TEST_F(TrueTypeFontLoaderTest, UnloadedCodeGetsAnAllZeroRecordOnLookup) {
    auto font = Load(kDefaultFontPath, 24);
    ASSERT_EQ(font->characters.size(), 128u);
    const Character* glyph = font->GetCharacter(static_cast<char>(0xE9));
    EXPECT_EQ(font->characters.size(), 129u);
    EXPECT_EQ(glyph->texture, nullptr);
    EXPECT_EQ(glyph->size.x, 0);
    EXPECT_EQ(glyph->size.y, 0);
    EXPECT_EQ(glyph->advance[0], 0u);
}

TEST_F(TrueTypeFontLoaderTest, DestroyDeletesEachGlyphTextureOnce) {
    auto font = Load(kDefaultFontPath, 16);
    ASSERT_EQ(textures.created.size(), 128u);
    font->Destroy();
    EXPECT_EQ(textures.deleted.size(), 128u);
    font->Destroy();
    font.reset();
    EXPECT_EQ(textures.deleted.size(), 128u);
    for (auto* texture : textures.created) EXPECT_EQ(textures.DeleteCount(texture), 1);
}

}  // namespace
