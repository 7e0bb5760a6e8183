// Bitmap fonts from an atlas and its description, TrueType fonts, and the font manager.
#include "TempDir.h"
#include "UnitDoubles.h"
#include "gl/FontManager.h"
#include "sdl/STBImageLoader.h"
#include <stb_image_write.h>
#include <filesystem>
#include <fstream>

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

TEST(TrueTypeFont, GlyphsAreOneByteAPixelAndTheManagerOwnsEveryFont) {
    Fonts f;
    EXPECT_EQ(Captured([&] { f.fonts.Initialize(); }, true), "");  // the shipped default font at 48 pixels
    const Character* shipped = f.fonts.defaultFont->GetCharacter('X');
    EXPECT_EQ(f.fonts.defaultFont->height, 48);
    EXPECT_EQ(f.textures.created.size(), 128u);
    EXPECT_GT(shipped->size.y, 24);
    EXPECT_EQ(f.textures.created['X'].size(), size_t(shipped->size.x * shipped->size.y));
    // A face of 1-bit bitmaps (here BDF) still gives one full byte a pixel.
    std::ofstream(f.dir.File("x.bdf"))
        << "STARTFONT 2.1\nFONT -x-x-medium-r-normal--8-80-75-75-c-80-iso10646-1\nSIZE 8 75 75\nFONTBOUNDINGBOX 8 8 0 "
           "0\nSTARTPROPERTIES 3\nPIXEL_SIZE 8\nFONT_ASCENT 8\nFONT_DESCENT 0\nENDPROPERTIES\nCHARS 1\nSTARTCHAR X\n"
           "ENCODING 88\nSWIDTH 500 0\nDWIDTH 9 0\nBBX 8 8 0 "
           "0\nBITMAP\n81\n42\n24\n18\n18\n24\n42\n81\nENDCHAR\nENDFONT\n";
    f.textures.created.clear();
    const Character* x = nullptr;
    Captured([&] { x = f.fonts.LoadFont(f.dir.File("x.bdf"), 8)->GetCharacter('X'); }, true);
    EXPECT_EQ(Str({x->size.x, x->size.y, x->bearing.y, int(x->advance[0])}), "8,8,8,576");  // advance in 1/64 px
    std::vector<unsigned char> expected;
    for (unsigned row : {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81})
        for (int bit = 7; bit >= 0; --bit) expected.push_back((row >> bit) & 1 ? 255 : 0);
    EXPECT_EQ(f.textures.created.at('X'), expected);
    EXPECT_EQ(f.fonts.fonts.size(), 2u);
}
