#include "BitmapFontLoader.h"

#include "../core/IImageLoader.h"
#include "../core/ITextureManager.h"

#include <fstream>
#include <iostream>
#include <stdexcept>

namespace Ostrel {

namespace {

const std::string kCharKey = "Char";
const std::string kBaseWidthKey = "Base Width,";
const std::string kFontHeightKey = "Font Height,";
const std::string kCellWidthKey = "Cell Width,";
const std::string kCellHeightKey = "Cell Height,";

// Keys are expected at the start of their line: the numbers are read from the
// fixed position just after a key standing there.
std::string Tail(const std::string& line, size_t from) {
    return from < line.size() ? line.substr(from) : std::string();
}

// What one description line asks for, applied only once every number on it
// converted, so a malformed line changes nothing.
struct LineEffect {
    bool isCharacter = false;
    int code = 0;
    int baseWidth = 0;
    enum { None, FontHeight, CellWidth, CellHeight } key = None;
    int value = 0;
};

LineEffect ParseLine(const std::string& line) {
    LineEffect effect;
    const size_t c = line.find(kCharKey);
    if (c != std::string::npos) {
        const size_t b = line.find(kBaseWidthKey, c);
        if (b != std::string::npos && b > c) {
            // The code runs from position 5 to the separator before "Base Width,".
            const std::string code = b >= 6 ? line.substr(5, b - 6) : Tail(line, 5);
            effect.isCharacter = true;
            effect.code = std::stoi(code);
            effect.baseWidth = std::stoi(Tail(line, b + kBaseWidthKey.size()));
        }
    }
    if (line.find(kFontHeightKey) != std::string::npos) {
        effect.key = LineEffect::FontHeight;
        effect.value = std::stoi(Tail(line, kFontHeightKey.size()));
    } else if (line.find(kCellWidthKey) != std::string::npos) {
        effect.key = LineEffect::CellWidth;
        effect.value = std::stoi(Tail(line, kCellWidthKey.size()));
    } else if (line.find(kCellHeightKey) != std::string::npos) {
        effect.key = LineEffect::CellHeight;
        effect.value = std::stoi(Tail(line, kCellHeightKey.size()));
    }
    return effect;
}

}  // namespace

BitmapFontLoader::BitmapFontLoader(IImageLoader* imageLoader_, ITextureManager* textureManager_)
    : imageLoader(imageLoader_), textureManager(textureManager_) {}

Font* BitmapFontLoader::LoadBitmapFont(std::string imagePath, std::string dataPath) {
    ImageData* image = imageLoader->LoadImage(imagePath);
    if (image == nullptr) image = new ImageData();
    Font* font = new Font(Bitmap);
    font->atlas = textureManager->CreateTexture(image->pixels, image->width, image->height);
    const float atlasWidth = static_cast<float>(image->width);
    const float atlasHeight = static_cast<float>(image->height);
    // The texture holds its own copy; the decoded picture is not needed any more.
    delete image;

    int cellWidth = 0;
    int cellHeight = 0;
    std::ifstream file(dataPath);
    std::string line;
    for (int lineNumber = 1; file.is_open() && std::getline(file, line); ++lineNumber) {
        LineEffect effect;
        try {
            effect = ParseLine(line);
        } catch (const std::logic_error&) {  // std::invalid_argument and std::out_of_range from stoi
            std::cout << "Ostrel::BitmapFontLoader: " << dataPath << ":" << lineNumber << ": bad number in '" << line
                      << "', line skipped" << std::endl;
            continue;
        }
        if (effect.isCharacter) {
            Character* glyph = font->GetOrCreateCharacter(static_cast<char>(effect.code));
            glyph->size = ivec2(font->height, font->height);
            glyph->advance[0] = static_cast<uint32_t>(effect.baseWidth);
        }
        switch (effect.key) {
            case LineEffect::FontHeight:
                font->height = effect.value;
                break;
            case LineEffect::CellWidth:
                cellWidth = effect.value;
                break;
            case LineEffect::CellHeight:
                cellHeight = effect.value;
                break;
            case LineEffect::None:
                break;
        }
    }
    // Covers a missing file and one that opens but cannot be read, such as a
    // directory: the stream then fails with its bad bit set.
    if (!file.is_open() || file.bad())
        std::cout << "Ostrel::BitmapFontLoader: could not open font description '" << dataPath << "'" << std::endl;

    // A picture that could not be decoded has no size to divide by: its glyphs
    // keep zero coordinates and draw nothing.
    const bool hasAtlas = atlasWidth > 0.0f && atlasHeight > 0.0f;
    float x = 0.0f;
    float y = 0.0f;
    const float cw = static_cast<float>(cellWidth);
    const float ch = static_cast<float>(cellHeight);
    for (int code = 0; code < 128; ++code) {
        Character* glyph = font->GetOrCreateCharacter(static_cast<char>(code));
        if (hasAtlas) {
            const float left = x / atlasWidth;
            const float right = x / atlasWidth + cw / atlasWidth;
            const float top = y / atlasHeight;
            const float bottom = y / atlasHeight + ch / atlasHeight;
            glyph->uv[0] = vec2(left, bottom);
            glyph->uv[1] = vec2(right, bottom);
            glyph->uv[2] = vec2(left, top);
            glyph->uv[3] = vec2(right, top);
        }
        x += cw;
        if (x >= atlasWidth) {
            x = 0.0f;
            y += ch;
        }
    }
    return font;
}

}  // namespace Ostrel
