#include "RecordingTexture.h"

namespace OstrelTest {

RecordingTexture::RecordingTexture(const unsigned char* data, unsigned width_, unsigned height_,
                                   Ostrel::TextureParameters params_, size_t bytesPerPixel)
    : params(params_) {
    width = width_;
    height = height_;
    if (data != nullptr) pixels.assign(data, data + static_cast<size_t>(width_) * height_ * bytesPerPixel);
}

RecordingTexture::~RecordingTexture() {
    if (onDelete) onDelete(this);
}

void RecordingTexture::Bind() {
    ++bindCount;
}

void RecordingTexture::Unload() {
    ++unloadCount;
    state = Ostrel::LifecycleReleased;
}

}  // namespace OstrelTest
