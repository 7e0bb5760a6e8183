// SDLImageLoader.h - the alternative decoder on SDL2_image.
#pragma once

#include "../core/ImageData.h"

#include <SDL.h>

#include <string>

namespace Ostrel {

struct SDLImageData : public ImageData {
    SDL_Surface* surface = nullptr;

    explicit SDLImageData(SDL_Surface* surface);
    ~SDLImageData() override;
    void Release() override;
};

class SDLImageLoader {
public:
    ImageData* LoadImage(std::string path, int mode);
    ImageData* LoadImage(std::string path);
};

}  // namespace Ostrel
