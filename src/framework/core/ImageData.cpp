#include "ImageData.h"

#include <cstdlib>

namespace Ostrel {

ImageData::ImageData() : state(LifecycleCreated), pixels(nullptr), width(0), height(0), channels(0) {}

ImageData::ImageData(uint8_t* pixels_, unsigned width_, unsigned height_, unsigned channels_)
    : state(LifecycleCreated), pixels(pixels_), width(width_), height(height_), channels(channels_) {}

ImageData::~ImageData() {
    if (pixels != nullptr) free(pixels);
    state = LifecycleReleased;
    pixels = nullptr;
    width = height = channels = 0;
}

void ImageData::Release() {
    if (pixels != nullptr) free(pixels);
    pixels = nullptr;
    width = height = channels = 0;
}

}  // namespace Ostrel
