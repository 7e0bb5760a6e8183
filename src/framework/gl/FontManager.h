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
    std::map<std::string, Font*> fonts;
    ITextureManager* textureManager = nullptr;
    IImageLoader* imageLoader = nullptr;
    FileReader* fileReader = nullptr;
    Font* defaultFont = nullptr;

    FontManager(ITextureManager* textureManager, IImageLoader* imageLoader, FileReader* fileReader);

    void Initialize();
    Font* LoadBitmapFont(std::string imagePath, std::string dataPath);
    Font* LoadFont(std::string path, unsigned pixelHeight);
    void UnloadAll();
    void Destroy();
};

}  // namespace Ostrel
