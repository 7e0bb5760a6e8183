// make_bitmap_font: renders a TrueType pixel font into a bitmap font atlas
// and writes the CSV description the game's bitmap font loader reads.
//
//   make_bitmap_font FONT.ttf ATLAS.png DESCRIPTION.csv [PIXEL_SIZE [SCALE]]
//
// Atlas: 512 x 512 RGBA, 16 x 16 cells of 32 x 32 pixels, code 0 in the
// top-left cell, codes row by row. Glyphs are white, everything else is
// (0, 0, 0, 0), so a shader may read either the red or the alpha channel.
//
// The glyphs are rasterised in monochrome at PIXEL_SIZE (default 16, the size
// the font was drawn for) and enlarged SCALE times (default 2) by pixel
// repetition. Every font pixel therefore covers an aligned SCALE x SCALE block,
// which keeps the text sharp when the game draws it at half size through a
// linearly filtered texture.
//
// Description lines: "Font Height,32", "Cell Width,32", "Cell Height,32" and one
// "Char N Base Width,W" per code 0..127 (W = advance in atlas pixels). The
// loader only places codes 0..127, so only those get a width line; the cells
// of codes 160..255 are still filled with the Latin-1 glyphs for other users.

#include <ft2build.h>
#include FT_FREETYPE_H

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kCell = 32;
constexpr int kGrid = 16;
constexpr int kAtlas = kCell * kGrid;
constexpr int kDescribedCodes = 128;

struct Glyph {
    bool present = false;
    int left = 0;                     // bitmap_left, font pixels
    int top = 0;                      // bitmap_top, font pixels
    int width = 0;                    // bitmap width, font pixels
    int rows = 0;                     // bitmap rows, font pixels
    int advance = 0;                  // whole font pixels
    std::vector<unsigned char> bits;  // rows * width, 0 or 1
};

bool Printable(int code) {
    return (code >= 32 && code <= 126) || (code >= 160 && code <= 255);
}

bool LoadGlyph(FT_Face face, int code, Glyph* out) {
    FT_UInt index = FT_Get_Char_Index(face, static_cast<FT_ULong>(code));
    if (index == 0) return false;
    if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_MONO) != 0) return false;
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) != 0) return false;
    const FT_Bitmap& bm = face->glyph->bitmap;
    out->present = true;
    out->left = face->glyph->bitmap_left;
    out->top = face->glyph->bitmap_top;
    out->width = static_cast<int>(bm.width);
    out->rows = static_cast<int>(bm.rows);
    out->advance = static_cast<int>((face->glyph->advance.x + 32) >> 6);
    out->bits.assign(static_cast<size_t>(out->width) * out->rows, 0);
    for (int y = 0; y < out->rows; ++y) {
        const unsigned char* row = bm.buffer + y * bm.pitch;
        for (int x = 0; x < out->width; ++x) {
            out->bits[static_cast<size_t>(y) * out->width + x] = (row[x >> 3] >> (7 - (x & 7))) & 1;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc > 6) {
        std::fprintf(stderr, "usage: %s FONT.ttf ATLAS.png DESCRIPTION.csv [PIXEL_SIZE [SCALE]]\n", argv[0]);
        return 2;
    }
    const std::string fontPath = argv[1];
    const std::string atlasPath = argv[2];
    const std::string csvPath = argv[3];
    const int pixelSize = argc > 4 ? std::atoi(argv[4]) : 16;
    const int scale = argc > 5 ? std::atoi(argv[5]) : 2;
    if (pixelSize <= 0 || scale <= 0 || pixelSize * scale > kCell) {
        std::fprintf(stderr, "make_bitmap_font: PIXEL_SIZE x SCALE must be 1..%d\n", kCell);
        return 2;
    }

    FT_Library library;
    if (FT_Init_FreeType(&library) != 0) {
        std::fprintf(stderr, "make_bitmap_font: FreeType did not start\n");
        return 1;
    }
    FT_Face face;
    if (FT_New_Face(library, fontPath.c_str(), 0, &face) != 0) {
        std::fprintf(stderr, "make_bitmap_font: cannot open %s\n", fontPath.c_str());
        FT_Done_FreeType(library);
        return 1;
    }
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize));

    std::vector<Glyph> glyphs(kGrid * kGrid);
    int maxTop = 0;
    int maxDescent = 0;
    for (int code = 0; code < kGrid * kGrid; ++code) {
        if (!Printable(code)) continue;
        if (!LoadGlyph(face, code, &glyphs[code])) {
            std::fprintf(stderr, "make_bitmap_font: no glyph for code %d\n", code);
            continue;
        }
        const Glyph& g = glyphs[code];
        if (g.rows > 0) {
            maxTop = std::max(maxTop, g.top);
            maxDescent = std::max(maxDescent, g.rows - g.top);
        }
    }

    // One baseline for every cell: the inked band of the whole set is centred
    // in the cell when it fits; otherwise the tallest glyph touches the top and
    // the few deepest descenders are lifted just enough to stay in their cell.
    const int cellFontPixels = kCell / scale;
    const int band = maxTop + maxDescent;
    const int baseline = std::min(cellFontPixels - 1, maxTop + std::max(0, (cellFontPixels - band) / 2));

    std::vector<unsigned char> atlas(static_cast<size_t>(kAtlas) * kAtlas * 4, 0);
    int clipped = 0;
    for (int code = 0; code < kGrid * kGrid; ++code) {
        const Glyph& g = glyphs[code];
        if (!g.present) continue;
        const int cellX = (code % kGrid) * kCell;
        const int cellY = (code / kGrid) * kCell;
        const int originX = std::max(0, g.left);
        const int originY = std::max(0, std::min(baseline - g.top, cellFontPixels - g.rows));
        for (int y = 0; y < g.rows; ++y) {
            for (int x = 0; x < g.width; ++x) {
                if (!g.bits[static_cast<size_t>(y) * g.width + x]) continue;
                const int fx = originX + x;
                const int fy = originY + y;
                if (fx < 0 || fy < 0 || fx >= cellFontPixels || fy >= cellFontPixels) {
                    ++clipped;
                    continue;
                }
                for (int sy = 0; sy < scale; ++sy) {
                    for (int sx = 0; sx < scale; ++sx) {
                        const size_t px =
                            static_cast<size_t>(cellY + fy * scale + sy) * kAtlas + (cellX + fx * scale + sx);
                        unsigned char* p = &atlas[px * 4];
                        p[0] = p[1] = p[2] = p[3] = 255;
                    }
                }
            }
        }
    }
    if (clipped > 0) std::fprintf(stderr, "make_bitmap_font: %d font pixels fell outside their cells\n", clipped);

    if (!stbi_write_png(atlasPath.c_str(), kAtlas, kAtlas, 4, atlas.data(), kAtlas * 4)) {
        std::fprintf(stderr, "make_bitmap_font: cannot write %s\n", atlasPath.c_str());
        return 1;
    }

    std::FILE* csv = std::fopen(csvPath.c_str(), "wb");
    if (!csv) {
        std::fprintf(stderr, "make_bitmap_font: cannot write %s\n", csvPath.c_str());
        return 1;
    }
    // The height comes first: a width line takes the glyph size from the
    // height read before it.
    std::fprintf(csv, "Image Width,%d\n", kAtlas);
    std::fprintf(csv, "Image Height,%d\n", kAtlas);
    std::fprintf(csv, "Cell Width,%d\n", kCell);
    std::fprintf(csv, "Cell Height,%d\n", kCell);
    std::fprintf(csv, "Font Height,%d\n", pixelSize * scale);
    for (int code = 0; code < kDescribedCodes; ++code) {
        const Glyph& g = glyphs[code];
        std::fprintf(csv, "Char %d Base Width,%d\n", code, g.present ? g.advance * scale : 0);
    }
    std::fclose(csv);

    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return 0;
}
