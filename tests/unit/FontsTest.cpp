// Bitmap fonts from an atlas and its description, TrueType fonts, and the font manager.
#include "TempDir.h"
#include "UnitDoubles.h"
#include "gl/FontManager.h"
#include "sdl/STBImageLoader.h"
#include <stb_image_write.h>
#include <filesystem>

using namespace OstrelTest;

struct Fonts {
    TempDir dir;
    STBImageLoader images;
    TextureRecorder textures;
    FontManager fonts{&textures, &images, nullptr};
    Fonts() {  // a 64 x 32 atlas: four 16-pixel cells to a row
        std::vector<uint8_t> rgba(64 * 32 * 4, 0x80);
        stbi_write_png(dir.File("atlas.png").c_str(), 64, 32, 4, rgba.data(), 64 * 4);
        std::filesystem::create_directory(dir.File("folder"));
    }
    ~Fonts() { fonts.Destroy(); }
};

TEST(BitmapFont, DescriptionsAndBrokenInputs) {
    struct Row {
        const char* description;  // null: no such file
        const char* atlas;
        int height;
        uint32_t advanceA;
        const char* printed;  // the one line printed, or ""
        const char* file = "desc.csv";
    };
    const Row rows[] = {
        {"Font Height,16\nCell Width,16\nCell Height,8\nChar 65 Base Width,9\r\nChar 5 Base Width,3", "atlas.png", 16,
         9, ""},
        {"Font Height,16\nChar 65 Base Width,x9\nCell Width,16\n", "atlas.png", 16, 0, "desc.csv:2: bad number"},
        {"Font Height,99999999999\nChar 65 Base Width,4\n", "atlas.png", 0, 4, "desc.csv:1: bad number"},
        {nullptr, "atlas.png", 0, 0, "could not open font description"},
        {"Font Height,16\nChar 65 Base Width,9\n", "folder", 16, 9, "folder"},
        {"Font Height,16\nChar 65 Base Width,9\n", "missing.png", 16, 9, "missing.png"},
        {"", "atlas.png", 0, 0, "folder", "folder"},  // opens as a stream but yields no line
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.description ? row.description : "(none)");
        Fonts f;
        if (row.description) f.dir.Write("desc.csv", row.description);
        Font* font = nullptr;
        const auto load = [&] { font = f.fonts.LoadBitmapFont(f.dir.File(row.atlas), f.dir.File(row.file)); };
        std::string err, out = Captured([&] { err = Captured(load); }, true);
        out += err;  // the loaders print on either
        EXPECT_EQ(font->height, row.height);
        EXPECT_EQ(font->GetCharacter('A')->advance[0], row.advanceA);
        EXPECT_EQ(Lines(out), *row.printed ? 1 : 0) << out;
        EXPECT_NE(out.find(row.printed), std::string::npos) << out;
        for (const auto& [code, glyph] : font->characters)
            for (const vec2& uv : glyph.uv)
                for (float c : {uv.x, uv.y}) EXPECT_TRUE(std::isfinite(c)) << int(code);
        if (row.height != 16 || *row.printed) continue;
        EXPECT_EQ(f.textures.created.at(0), std::vector<unsigned char>(64 * 32 * 4, 0x80));  // the atlas
        const Character* glyph = font->GetCharacter(5);  // the second cell of the second row
        EXPECT_EQ(std::vector<float>({float(glyph->size.x), float(glyph->size.y), glyph->uv[0].x, glyph->uv[0].y,
                                      glyph->uv[3].x, glyph->uv[3].y}),
                  std::vector<float>({16, 16, 0.25f, 0.5f, 0.5f, 0.25f}));  // left bottom, right top
    }
}

TEST(TrueTypeFont, TheShippedDefaultFontHasAGlyphOfOneByteAPixelPerCode) {
    Fonts f;
    EXPECT_EQ(Captured([&] { f.fonts.Initialize(); }, true), "");  // the shipped default font at 48 pixels
    const Character* shipped = f.fonts.defaultFont->GetCharacter('X');
    EXPECT_EQ(f.fonts.defaultFont->height, 48);
    EXPECT_EQ(f.textures.created.size(), 128u);
    EXPECT_GT(shipped->size.y, 24);
    EXPECT_EQ(f.textures.created['X'].size(), size_t(shipped->size.x * shipped->size.y));
}
