// RecordingImageLoader.h - an IImageLoader that decodes nothing: it hands out
// RGBA pictures registered per path (an image without pixels for any other
// path, as a failed decode does), records every request and notices when each
// image it made is deleted.
#pragma once

#include "core/IImageLoader.h"

#include <map>
#include <string>
#include <vector>

namespace OstrelTest {

class RecordingImageLoader : public Ostrel::IImageLoader {
public:
    struct Picture {
        unsigned width = 0;
        unsigned height = 0;
        std::vector<unsigned char> rgba;  // width * height * 4 bytes
    };

    std::map<std::string, Picture> pictures;  // what each path decodes to
    std::vector<std::string> requests;        // paths asked for, in order
    std::vector<int> modes;                   // mode of each request (-1 for the one-argument form)
    int imagesMade = 0;
    int imagesDeleted = 0;

    RecordingImageLoader() = default;
    RecordingImageLoader(const RecordingImageLoader&) = delete;
    RecordingImageLoader& operator=(const RecordingImageLoader&) = delete;

    // Registers a width x height picture filled with one RGBA colour.
    void AddPicture(const std::string& path, unsigned width, unsigned height, unsigned rgba = 0xffffffffu);

    Ostrel::ImageData* LoadImage(std::string path, int mode) override;
    Ostrel::ImageData* LoadImage(std::string path) override;
    int LiveImages() const { return imagesMade - imagesDeleted; }

private:
    Ostrel::ImageData* Make(const std::string& path);
};

}  // namespace OstrelTest
