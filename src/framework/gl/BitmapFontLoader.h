// BitmapFontLoader.h - a bitmap font from an atlas picture and its CSV
// description ("Font Height,", "Cell Width,", "Cell Height,", and one
// "Char N Base Width,W" line per character). Code 0 is the top-left cell,
// codes follow row by row.
#pragma once

#include "Font.h"

#include <string>

namespace Ostrel {

class IImageLoader;
class ITextureManager;

class BitmapFontLoader {
public:
    IImageLoader* imageLoader = nullptr;
    ITextureManager* textureManager = nullptr;

    BitmapFontLoader(IImageLoader* imageLoader, ITextureManager* textureManager);

    // Always a new font of type Bitmap; the caller owns it. A missing or
    // malformed description is reported line by line and loading goes on.
    Font* LoadBitmapFont(std::string imagePath, std::string dataPath);
};

}  // namespace Ostrel
