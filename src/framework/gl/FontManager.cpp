#include "FontManager.h"

#include "BitmapFontLoader.h"
#include "TrueTypeFontLoader.h"

namespace Ostrel {

namespace {
const char* const kDefaultFontPath = "assets/game/fonts/ThaleahFat.ttf";
constexpr unsigned kDefaultFontHeight = 48;
}  // namespace

FontManager::FontManager(ITextureManager* textureManager_, IImageLoader* imageLoader_, FileReader* fileReader_)
    : textureManager(textureManager_), imageLoader(imageLoader_), fileReader(fileReader_) {}

void FontManager::Initialize() {
    Font* font = LoadTrueTypeFont(kDefaultFontPath, kDefaultFontHeight);
    fonts.emplace(kDefaultFontPath, font);
    defaultFont = font;
    state = LifecycleInitialised;
}

Font* FontManager::LoadBitmapFont(std::string imagePath, std::string dataPath) {
    BitmapFontLoader loader(imageLoader, textureManager);
    Font* font = loader.LoadBitmapFont(imagePath, dataPath);
    fonts.emplace(imagePath, font);
    return font;
}

Font* FontManager::LoadFont(std::string path, unsigned pixelHeight) {
    Font* font = LoadTrueTypeFont(path, pixelHeight);
    fonts.emplace(path, font);
    return font;
}

void FontManager::UnloadAll() {
    for (auto& entry : fonts) {
        entry.second->Destroy();
        delete entry.second;
    }
    fonts.clear();
}

void FontManager::Destroy() {
    if (state != LifecycleReleased) UnloadAll();
    state = LifecycleReleased;
}

Font* FontManager::LoadTrueTypeFont(const std::string& path, unsigned pixelHeight) {
    TrueTypeFontLoader loader(textureManager);
    return loader.LoadTrueTypeFont(path, pixelHeight);
}

}  // namespace Ostrel
