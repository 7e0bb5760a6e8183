// ITexture2D.h - a 2D texture and its creation parameters.
#pragma once

#include "LifecycleState.h"

#include <cstdint>

namespace Ostrel {

struct TextureParameters {
    int32_t channels;     // 1 red, 3 RGB, else RGBA; -1 takes the picture's own
    int32_t filter;       // 1 linear, anything else nearest
    int32_t clampToEdge;  // non-zero clamps, 0 repeats
    int32_t loadMode;     // handed to the image loader

    TextureParameters() : channels(-1), filter(1), clampToEdge(1), loadMode(0) {}
    explicit TextureParameters(int filter_) : channels(-1), filter(filter_), clampToEdge(1), loadMode(0) {}
};

class ITexture2D {
public:
    LifecycleState state = LifecycleCreated;
    uint32_t width = 0;
    uint32_t height = 0;
    void* handle = nullptr;  // points at the back end's texture name (for ImGui)

    virtual ~ITexture2D() = default;
    virtual void Bind() = 0;
    virtual void Unload() = 0;
};

}  // namespace Ostrel
