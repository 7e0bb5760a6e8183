// STBImageLoader.h - decodes pictures to 8-bit RGBA with stb_image.
#pragma once

#include "../core/IImageLoader.h"

namespace Ostrel {

class STBImageLoader : public IImageLoader {
public:
    ImageData* LoadImage(std::string path, int mode) override;
    ImageData* LoadImage(std::string path) override;
};

}  // namespace Ostrel
