// Fuzzes the bitmap font description parser with arbitrary description text.
// The atlas comes from a stand-in image loader and texture manager, so no GL
// context is needed.
#include "core/IImageLoader.h"
#include "core/ITextureManager.h"
#include "gl/BitmapFontLoader.h"
#include "gl/Font.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

// A blank 64 x 64 atlas for every path.
struct BlankImages : Ostrel::IImageLoader {
    Ostrel::ImageData* LoadImage(std::string path, int) override { return LoadImage(path); }
    Ostrel::ImageData* LoadImage(std::string) override {
        auto* pixels = static_cast<uint8_t*>(std::calloc(64 * 64 * 4, 1));
        return new Ostrel::ImageData(pixels, 64, 64, 4);
    }
};

struct NoTexture : Ostrel::ITexture2D {
    void Bind() override {}
    void Unload() override {}
};

// Created textures belong to the caller (the font deletes its atlas); keyed ones stay here.
struct OneTexture : Ostrel::ITextureManager {
    NoTexture texture;
    void Initialize() override {}
    Ostrel::ITexture2D* LoadTexture(std::string, std::string) override { return &texture; }
    Ostrel::ITexture2D* LoadTexture(std::string, Ostrel::TextureParameters) override { return &texture; }
    Ostrel::ITexture2D* LoadTexture(std::string, std::string, Ostrel::TextureParameters) override { return &texture; }
    Ostrel::ITexture2D* LoadTexture(std::string) override { return &texture; }
    Ostrel::ITexture2D* CreateTexture(const unsigned char*, unsigned, unsigned, Ostrel::TextureParameters) override {
        return new NoTexture;
    }
    Ostrel::ITexture2D* CreateTexture(const unsigned char*, unsigned, unsigned) override { return new NoTexture; }
    Ostrel::ITexture2D* GetTexture(std::string) override { return nullptr; }
    bool FindKey(Ostrel::ITexture2D*, std::string*) override { return false; }
    void UnloadTexture(std::string) override {}
    void UnloadAll() override {}
    void Shutdown() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/ostrel_bitmap_font_fuzz_" + std::to_string(getpid()) + ".csv";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    BlankImages images;
    OneTexture textures;
    Ostrel::BitmapFontLoader loader(&images, &textures);
    Ostrel::Font* font = loader.LoadBitmapFont("atlas.png", path);
    if (font == nullptr || font->type != Ostrel::Bitmap) __builtin_trap();
    delete font;
    return 0;
}
