// ImageData.h - a decoded picture; the pixel block belongs to the image.
#pragma once

#include "LifecycleState.h"

#include <cstdint>

namespace Ostrel {

struct ImageData {
    int32_t state = LifecycleCreated;
    uint8_t* pixels = nullptr;  // malloc'd, rows top to bottom
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t channels = 0;

    ImageData();
    ImageData(uint8_t* pixels, unsigned width, unsigned height, unsigned channels);
    ImageData(const ImageData&) = delete;
    ImageData& operator=(const ImageData&) = delete;
    virtual ~ImageData();
    virtual void Release();
};

}  // namespace Ostrel
