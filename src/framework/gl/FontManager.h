// FontManager.h - loads TrueType and bitmap fonts and owns them by path.
#pragma once

#include "../core/LifecycleState.h"
#include "Font.h"

#include <map>
#include <string>

namespace Ostrel {

class ITextureManager;
class IImageLoader;
class FileReader;

class FontManager {
public:
    LifecycleState state = LifecycleCreated;
    std::map<std::string, Font*> fonts;  // TrueType: file path; bitmap: atlas picture path
    ITextureManager* textureManager = nullptr;
    IImageLoader* imageLoader = nullptr;
    FileReader* fileReader = nullptr;  // kept for back ends that read through it
    Font* defaultFont = nullptr;       // also held in `fonts`; invalid after UnloadAll

    FontManager(ITextureManager* textureManager, IImageLoader* imageLoader, FileReader* fileReader);
    // Owns what it loaded: a copy would delete it twice.
    FontManager(const FontManager&) = delete;
    FontManager& operator=(const FontManager&) = delete;

    // Loads the default TrueType font "assets/game/fonts/ThaleahFat.ttf" at 48 pixels.
    void Initialize();
    // Both loaders store the new font under its path unless the path is already
    // there: the map keeps the first font, and the font returned by the repeated
    // load then belongs to the caller.
    Font* LoadBitmapFont(std::string imagePath, std::string dataPath);
    Font* LoadFont(std::string path, unsigned pixelHeight);
    void UnloadAll();
    void Destroy();

private:
    Font* LoadTrueTypeFont(const std::string& path, unsigned pixelHeight);
};

}  // namespace Ostrel
