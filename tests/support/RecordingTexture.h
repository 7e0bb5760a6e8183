// RecordingTexture.h - an ITexture2D without GL: keeps a copy of the pixels it
// was made from, counts binds and unloads, and reports its deletion.
#pragma once

#include "core/ITexture2D.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace OstrelTest {

class RecordingTexture : public Ostrel::ITexture2D {
public:
    std::vector<unsigned char> pixels;  // empty when made from null pixels
    Ostrel::TextureParameters params;
    int bindCount = 0;
    int unloadCount = 0;
    std::function<void(RecordingTexture*)> onDelete;  // called by the destructor

    // bytesPerPixel sizes the copy of `data` (width * height * bytesPerPixel).
    RecordingTexture(const unsigned char* data, unsigned width, unsigned height, Ostrel::TextureParameters params,
                     size_t bytesPerPixel);
    ~RecordingTexture() override;
    RecordingTexture(const RecordingTexture&) = delete;
    RecordingTexture& operator=(const RecordingTexture&) = delete;

    void Bind() override;
    void Unload() override;
};

}  // namespace OstrelTest
