// IImageLoader.h - decodes picture files into new ImageData the caller deletes.
// A file that cannot be decoded still yields an image, one without pixels.
#pragma once

#include "ImageData.h"

#include <string>

namespace Ostrel {

class IImageLoader {
public:
    virtual ImageData* LoadImage(std::string path, int mode) = 0;
    virtual ImageData* LoadImage(std::string path) = 0;

protected:
    IImageLoader() = default;
    ~IImageLoader() = default;
};

}  // namespace Ostrel
