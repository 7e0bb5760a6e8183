// Fuzzes the bitmap font description parser with arbitrary description text.
// The atlas comes from a stand-in image loader and texture manager, so no GL
// context is needed.
#include "gl/BitmapFontLoader.h"
#include "gl/Font.h"

#include "RecordingImageLoader.h"
#include "RecordingTextureManager.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/ostrel_bitmap_font_fuzz_" + std::to_string(getpid()) + ".csv";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    OstrelTest::RecordingImageLoader images;
    OstrelTest::RecordingTextureManager textures;
    Ostrel::BitmapFontLoader loader(&images, &textures);
    Ostrel::Font* font = loader.LoadBitmapFont("atlas.png", path);
    if (font == nullptr || font->type != Ostrel::Bitmap) __builtin_trap();
    delete font;
    return 0;
}
