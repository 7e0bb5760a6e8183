#include "SDLImageLoader.h"

#include "../core/FileReader.h"

#include <SDL_image.h>

#include <cstdlib>
#include <cstring>
#include <iostream>

namespace Ostrel {

namespace {

// Decodes through SDL_image; a failure is reported here and gives null.
SDL_Surface* LoadSurface(const std::string& path) {
    const std::string prefix = GetCurrentPath();
    SDL_Surface* surface = IMG_Load((prefix + path).c_str());
    if (surface == nullptr) {
        std::cerr << "Current path: " << prefix << std::endl;
        std::cerr << "Could not open image file - '" << prefix << path << ". SDL_image Error: " << SDL_GetError()
                  << std::endl;
    }
    return surface;
}

}  // namespace

SDLImageData::SDLImageData(SDL_Surface* surface_) : ImageData(), surface(surface_) {
    if (surface != nullptr) {
        // The pixels stay the surface's: only SDL_FreeSurface releases them.
        pixels = static_cast<uint8_t*>(surface->pixels);
        width = static_cast<uint32_t>(surface->w);
        height = static_cast<uint32_t>(surface->h);
        channels = surface->format->BytesPerPixel;
    }
    state = LifecycleCreated;
}

SDLImageData::~SDLImageData() {
    if (state != LifecycleReleased && surface != nullptr) {
        SDL_FreeSurface(surface);
        surface = nullptr;
        pixels = nullptr;
        width = height = channels = 0;
    }
    state = LifecycleReleased;
    // Keep the base destructor away from the surface's pixel block.
    pixels = nullptr;
}

void SDLImageData::Release() {
    if (state == LifecycleReleased) return;
    if (surface != nullptr) {
        SDL_FreeSurface(surface);
        surface = nullptr;
        pixels = nullptr;
        width = height = channels = 0;
    }
    state = LifecycleReleased;
}

ImageData* SDLImageLoader::LoadImage(std::string path, int mode) {
    SDL_Surface* surface = LoadSurface(path);
    if (surface == nullptr) return new ImageData();
    const int bytesPerPixel = surface->format->BytesPerPixel;
    if (mode == 0 || (mode == 1 && bytesPerPixel == 4)) return new SDLImageData(surface);

    const size_t w = static_cast<size_t>(surface->w);
    const size_t h = static_cast<size_t>(surface->h);
    auto* block = static_cast<uint8_t*>(std::malloc(w * h * 4));
    if (block == nullptr) {
        SDL_FreeSurface(surface);
        return new ImageData();
    }
    // Formats we cannot convert come back as a zeroed block of the right size.
    std::memset(block, 0, w * h * 4);
    if (bytesPerPixel == 1 || bytesPerPixel == 3) {
        if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
        const auto* source = static_cast<const uint8_t*>(surface->pixels);
        for (size_t y = 0; y < h; ++y) {
            const uint8_t* row = source + y * static_cast<size_t>(surface->pitch);
            uint8_t* out = block + y * w * 4;
            for (size_t x = 0; x < w; ++x) {
                if (bytesPerPixel == 1) {
                    // A grey level; any palette is deliberately not consulted.
                    out[x * 4 + 0] = out[x * 4 + 1] = out[x * 4 + 2] = row[x];
                } else {
                    out[x * 4 + 0] = row[x * 3 + 0];
                    out[x * 4 + 1] = row[x * 3 + 1];
                    out[x * 4 + 2] = row[x * 3 + 2];
                }
                out[x * 4 + 3] = 255;
            }
        }
        if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    } else {
        std::cout << "Ostrel::SDLImageLoader::LoadImage: unsuppored format!" << std::endl;
    }
    SDL_FreeSurface(surface);
    return new ImageData(block, static_cast<unsigned>(w), static_cast<unsigned>(h), 4);
}

ImageData* SDLImageLoader::LoadImage(std::string path) {
    SDL_Surface* surface = LoadSurface(path);
    if (surface == nullptr) return new ImageData();
    return new SDLImageData(surface);
}

}  // namespace Ostrel
