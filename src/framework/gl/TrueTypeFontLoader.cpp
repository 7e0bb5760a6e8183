#include "TrueTypeFontLoader.h"

#include "../core/ITextureManager.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <iostream>
#include <vector>

namespace Ostrel {

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

    std::vector<unsigned char> packed;
    for (unsigned code = 0; code < 128; ++code) {
        if (FT_Load_Char(face, code, FT_LOAD_RENDER) != 0) {
            std::cout << "ERROR::FREETYTPE: Failed to load Glyph" << std::endl;
            continue;
        }
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;

        // Textures take rows of exactly `width` bytes; FreeType may pad its rows.
        const unsigned char* pixels = bitmap.buffer;
        const int pitch = bitmap.pitch;
        if (bitmap.buffer != nullptr && pitch != static_cast<int>(bitmap.width)) {
            packed.resize(static_cast<size_t>(bitmap.width) * bitmap.rows);
            for (unsigned row = 0; row < bitmap.rows; ++row) {
                const unsigned char* source = pitch >= 0 ? bitmap.buffer + static_cast<size_t>(row) * pitch
                                                         : bitmap.buffer + static_cast<size_t>(bitmap.rows - 1 - row) *
                                                                               static_cast<size_t>(-pitch);
                std::copy(source, source + bitmap.width, packed.begin() + static_cast<long>(row * bitmap.width));
            }
            pixels = packed.data();
        }

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

    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return font;
}

}  // namespace Ostrel
