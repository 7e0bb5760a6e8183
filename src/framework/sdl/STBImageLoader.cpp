#include "STBImageLoader.h"

#include "../core/FileReader.h"
#include "../platform/FileOpen.h"

// The implementation comes from libstb, which the build links.
#include <stb_image.h>

#include <cstdio>
#include <iostream>

namespace Ostrel {

ImageData* STBImageLoader::LoadImage(std::string path, int mode) {
    (void)mode;  // stb_image always yields RGBA here
    return LoadImage(path);
}

ImageData* STBImageLoader::LoadImage(std::string path) {
    const std::string prefix = GetCurrentPath();
    int width = 0;
    int height = 0;
    int fileChannels = 0;
    unsigned char* pixels = nullptr;
    if (FILE* file = OpenFile(path, "rb")) {
        pixels = stbi_load_from_file(file, &width, &height, &fileChannels, 4);
        std::fclose(file);
    }
    if (pixels == nullptr) {
        std::cerr << "Could not open image file - '" << prefix << path << "." << std::endl;
        width = 0;
        height = 0;
    }
    return new ImageData(pixels, static_cast<unsigned>(width), static_cast<unsigned>(height), 4);
}

}  // namespace Ostrel
