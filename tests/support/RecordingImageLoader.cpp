#include "RecordingImageLoader.h"

#include <cstdlib>
#include <cstring>

namespace OstrelTest {

namespace {

// An image that tells its loader when it dies.
class CountedImage : public Ostrel::ImageData {
public:
    CountedImage(uint8_t* pixels_, unsigned width_, unsigned height_, int* deletions_)
        : Ostrel::ImageData(pixels_, width_, height_, 4), deletions(deletions_) {}
    ~CountedImage() override { ++*deletions; }

private:
    int* deletions;
};

}  // namespace

void RecordingImageLoader::AddPicture(const std::string& path, unsigned width, unsigned height, unsigned rgba) {
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.rgba.resize(static_cast<size_t>(width) * height * 4);
    for (size_t i = 0; i < picture.rgba.size(); i += 4) {
        picture.rgba[i + 0] = static_cast<unsigned char>(rgba >> 24);
        picture.rgba[i + 1] = static_cast<unsigned char>(rgba >> 16);
        picture.rgba[i + 2] = static_cast<unsigned char>(rgba >> 8);
        picture.rgba[i + 3] = static_cast<unsigned char>(rgba);
    }
    pictures[path] = picture;
}

Ostrel::ImageData* RecordingImageLoader::LoadImage(std::string path, int mode) {
    modes.push_back(mode);
    return Make(path);
}

Ostrel::ImageData* RecordingImageLoader::LoadImage(std::string path) {
    modes.push_back(-1);
    return Make(path);
}

Ostrel::ImageData* RecordingImageLoader::Make(const std::string& path) {
    requests.push_back(path);
    ++imagesMade;
    auto it = pictures.find(path);
    if (it == pictures.end() || it->second.rgba.empty()) return new CountedImage(nullptr, 0, 0, &imagesDeleted);
    // ImageData frees its pixels with free(), so they must come from malloc.
    auto* pixels = static_cast<uint8_t*>(std::malloc(it->second.rgba.size()));
    std::memcpy(pixels, it->second.rgba.data(), it->second.rgba.size());
    return new CountedImage(pixels, it->second.width, it->second.height, &imagesDeleted);
}

}  // namespace OstrelTest
