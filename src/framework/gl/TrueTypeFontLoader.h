// TrueTypeFontLoader.h - rasterises codes 0..127 of a TrueType font once,
// through FreeType, into one single-channel texture per glyph.
#pragma once

#include "Font.h"

#include <string>

namespace Ostrel {

class ITextureManager;

class TrueTypeFontLoader {
public:
    ITextureManager* textureManager = nullptr;

    explicit TrueTypeFontLoader(ITextureManager* textureManager);

    // Always a new font of the requested height, without glyphs when the file
    // cannot be read; the caller owns it.
    Font* LoadTrueTypeFont(std::string path, unsigned pixelHeight);
};

}  // namespace Ostrel
