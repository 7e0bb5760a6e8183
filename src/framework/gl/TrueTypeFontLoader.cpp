#include "TrueTypeFontLoader.h"

#include "../core/ITextureManager.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BITMAP_H

#include <iostream>

namespace Ostrel {

namespace {

// Glyph textures take one byte of coverage per pixel in rows of exactly
// `width` bytes. Outlines render that way, but a face's embedded bitmaps
// (bitmap strikes, BDF/PCF fonts, colour glyphs) come 1, 2 or 4 bits or four
// bytes per pixel, and rows may be padded: reading those as grey rows would
// run past the end of the glyph's buffer. They are converted into `scratch`,
// with their levels stretched to 0..255. Returns null for an empty bitmap, or
// one FreeType cannot convert (its texture then only has the glyph's size).
const unsigned char* GreyRows(FT_Library library, const FT_Bitmap& bitmap, FT_Bitmap* scratch) {
    if (bitmap.buffer == nullptr) return nullptr;
    if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY && bitmap.pitch == static_cast<int>(bitmap.width)) {
        return bitmap.buffer;
    }
    if (FT_Bitmap_Convert(library, &bitmap, scratch, 1) != 0) return nullptr;
    if (scratch->width != bitmap.width || scratch->rows != bitmap.rows) return nullptr;
    const unsigned top = scratch->num_grays > 1 ? static_cast<unsigned>(scratch->num_grays - 1) : 1u;
    if (top != 255u) {
        const size_t count = static_cast<size_t>(scratch->pitch) * scratch->rows;
        for (size_t i = 0; i < count; ++i) {
            scratch->buffer[i] = static_cast<unsigned char>(scratch->buffer[i] * 255u / top);
        }
    }
    return scratch->buffer;
}

}  // namespace

TrueTypeFontLoader::TrueTypeFontLoader(ITextureManager* textureManager_) : textureManager(textureManager_) {}

Font* TrueTypeFontLoader::LoadTrueTypeFont(std::string path, unsigned pixelHeight) {
    Font* font = new Font(TrueType);
    font->height = static_cast<int32_t>(pixelHeight);

    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        std::cout << "ERROR::FREETYPE: Could not init FreeType Library" << std::endl;
        return font;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
        std::cout << "ERROR::FREETYPE: Failed to load font" << std::endl;
        FT_Done_FreeType(library);
        return font;
    }
    FT_Set_Pixel_Sizes(face, 0, pixelHeight);
    if (FT_Load_Char(face, 'X', FT_LOAD_RENDER) != 0) {
        std::cout << "ERROR::FREETYTPE: Failed to load Glyph" << std::endl;
        FT_Done_Face(face);
        FT_Done_FreeType(library);
        return font;
    }

    // Conversion target for glyph bitmaps that are not plain 8-bit grey rows.
    FT_Bitmap converted;
    FT_Bitmap_Init(&converted);
    for (unsigned code = 0; code < 128; ++code) {
        if (FT_Load_Char(face, code, FT_LOAD_RENDER) != 0) {
            std::cout << "ERROR::FREETYTPE: Failed to load Glyph" << std::endl;
            continue;
        }
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        const unsigned char* pixels = GreyRows(library, bitmap, &converted);

        TextureParameters params;
        params.channels = 1;
        Character glyph;
        glyph.state = LifecycleCreated;
        glyph.texture = textureManager->CreateTexture(pixels, bitmap.width, bitmap.rows, params);
        glyph.size = ivec2(static_cast<int32_t>(bitmap.width), static_cast<int32_t>(bitmap.rows));
        glyph.bearing = ivec2(slot->bitmap_left, slot->bitmap_top);
        glyph.advance[0] = static_cast<uint32_t>(slot->advance.x);
        glyph.advance[1] = static_cast<uint32_t>(slot->advance.y);
        font->AddCharacter(static_cast<char>(code), glyph);
    }

    FT_Bitmap_Done(library, &converted);
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return font;
}

}  // namespace Ostrel
