// Image decoding through stb_image and SDL_image, on PNGs written at run time.
#include "core/ImageData.h"
#include "sdl/SDLImageLoader.h"
#include "sdl/STBImageLoader.h"

#include "TempDir.h"

#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int W = 3;
constexpr int H = 2;

// Pixel (x, y) of channel c: distinct values so order and orientation show.
uint8_t Value(int x, int y, int c) {
    return static_cast<uint8_t>(10 + 40 * y + 10 * x + c);
}

class ImageFiles : public testing::Test {
protected:
    OstrelTest::TempDir dir;

    std::string Png(const std::string& name, int channels) {
        std::vector<uint8_t> data(static_cast<size_t>(W * H * channels));
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                for (int c = 0; c < channels; ++c)
                    data[static_cast<size_t>((y * W + x) * channels + c)] = Value(x, y, c);
        const std::string path = dir.File(name);
        EXPECT_NE(stbi_write_png(path.c_str(), W, H, channels, data.data(), W * channels), 0);
        return path;
    }
};

using ImagePtr = std::unique_ptr<Ostrel::ImageData>;

}  // namespace

TEST_F(ImageFiles, StbGreyPngDecodesToOpaqueRgba) {
    const std::string path = Png("grey.png", 1);
    Ostrel::STBImageLoader loader;
    ImagePtr image(loader.LoadImage(path));
    ASSERT_NE(image->pixels, nullptr);
    EXPECT_EQ(image->width, static_cast<uint32_t>(W));
    EXPECT_EQ(image->height, static_cast<uint32_t>(H));
    EXPECT_EQ(image->channels, 4u);
    EXPECT_EQ(image->state, Ostrel::LifecycleCreated);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const uint8_t* p = image->pixels + (y * W + x) * 4;
            EXPECT_EQ(p[0], Value(x, y, 0)) << x << "," << y;  // first row on top
            EXPECT_EQ(p[1], Value(x, y, 0));
            EXPECT_EQ(p[2], Value(x, y, 0));
            EXPECT_EQ(p[3], 255);
        }
}

TEST_F(ImageFiles, StbRgbaKeepsAlphaAndModeIsIgnored) {
    const std::string path = Png("rgba.png", 4);
    Ostrel::STBImageLoader loader;
    ImagePtr plain(loader.LoadImage(path));
    ImagePtr withMode(loader.LoadImage(path, 7));
    ASSERT_NE(plain->pixels, nullptr);
    ASSERT_NE(withMode->pixels, nullptr);
    EXPECT_EQ(withMode->width, plain->width);
    EXPECT_EQ(withMode->height, plain->height);
    EXPECT_EQ(withMode->channels, 4u);
    EXPECT_EQ(std::memcmp(plain->pixels, withMode->pixels, W * H * 4), 0);
    EXPECT_EQ(plain->pixels[(1 * W + 2) * 4 + 3], Value(2, 1, 3));
}

TEST_F(ImageFiles, StbMissingFileGivesEmptyImageAndOneLine) {
    const std::string path = dir.File("absent.png");
    Ostrel::STBImageLoader loader;
    testing::internal::CaptureStderr();
    ImagePtr image(loader.LoadImage(path));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(image->pixels, nullptr);
    EXPECT_EQ(image->width, 0u);
    EXPECT_EQ(image->height, 0u);
    EXPECT_EQ(image->channels, 4u);
    EXPECT_EQ(err, "Could not open image file - '" + path + ".\n");
}

TEST_F(ImageFiles, StbUndecodableFileGivesEmptyImage) {
    dir.Write("broken.png", "\x89PNG but not really");
    Ostrel::STBImageLoader loader;
    testing::internal::CaptureStderr();
    ImagePtr image(loader.LoadImage(dir.File("broken.png")));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(image->pixels, nullptr);
    EXPECT_EQ(image->width, 0u);
    EXPECT_NE(err.find("broken.png."), std::string::npos) << err;
}

TEST(ImageData, ReleaseEmptiesButKeepsStateAndDeleteFreesOnce) {
    auto* block = static_cast<uint8_t*>(std::malloc(16));
    auto* image = new Ostrel::ImageData(block, 2, 2, 4);
    EXPECT_EQ(image->state, Ostrel::LifecycleCreated);
    image->Release();
    EXPECT_EQ(image->pixels, nullptr);
    EXPECT_EQ(image->width, 0u);
    EXPECT_EQ(image->height, 0u);
    EXPECT_EQ(image->channels, 0u);
    EXPECT_EQ(image->state, Ostrel::LifecycleCreated);
    image->Release();  // nothing left to free
    delete image;      // a double free here would abort under the sanitizers
}

TEST(ImageData, DefaultIsEmpty) {
    Ostrel::ImageData image;
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_EQ(image.width, 0u);
    EXPECT_EQ(image.height, 0u);
    EXPECT_EQ(image.channels, 0u);
}

TEST_F(ImageFiles, SdlModeZeroKeepsDecodedSurface) {
    const std::string path = Png("rgb.png", 3);
    Ostrel::SDLImageLoader loader;
    ImagePtr image(loader.LoadImage(path, 0));
    auto* sdlImage = dynamic_cast<Ostrel::SDLImageData*>(image.get());
    ASSERT_NE(sdlImage, nullptr);
    ASSERT_NE(sdlImage->surface, nullptr);
    EXPECT_EQ(image->channels, 3u);
    EXPECT_EQ(image->width, static_cast<uint32_t>(W));
    EXPECT_EQ(image->pixels, sdlImage->surface->pixels);
}

TEST_F(ImageFiles, SdlModeOneKeepsFourByteSurface) {
    const std::string path = Png("rgba.png", 4);
    Ostrel::SDLImageLoader loader;
    ImagePtr image(loader.LoadImage(path, 1));
    auto* sdlImage = dynamic_cast<Ostrel::SDLImageData*>(image.get());
    ASSERT_NE(sdlImage, nullptr);
    EXPECT_EQ(image->channels, 4u);
    EXPECT_EQ(image->height, static_cast<uint32_t>(H));
}

TEST_F(ImageFiles, SdlModeOneConvertsThreeBytesToOpaqueRgba) {
    const std::string path = Png("rgb.png", 3);
    Ostrel::SDLImageLoader loader;
    ImagePtr image(loader.LoadImage(path, 1));
    EXPECT_EQ(dynamic_cast<Ostrel::SDLImageData*>(image.get()), nullptr);
    ASSERT_NE(image->pixels, nullptr);
    EXPECT_EQ(image->channels, 4u);
    EXPECT_EQ(image->width, static_cast<uint32_t>(W));
    EXPECT_EQ(image->height, static_cast<uint32_t>(H));
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const uint8_t* p = image->pixels + (y * W + x) * 4;
            EXPECT_EQ(p[0], Value(x, y, 0)) << x << "," << y;
            EXPECT_EQ(p[1], Value(x, y, 1));
            EXPECT_EQ(p[2], Value(x, y, 2));
            EXPECT_EQ(p[3], 255);
        }
}

TEST_F(ImageFiles, SdlModeOneConvertsGreyToOpaqueRgba) {
    const std::string path = Png("grey.png", 1);
    Ostrel::SDLImageLoader loader;
    {
        ImagePtr raw(loader.LoadImage(path, 0));
        ASSERT_EQ(raw->channels, 1u) << "SDL_image decoded grey to another format";
    }
    ImagePtr image(loader.LoadImage(path, 1));
    ASSERT_NE(image->pixels, nullptr);
    EXPECT_EQ(image->channels, 4u);
    const uint8_t* p = image->pixels + (1 * W + 1) * 4;
    EXPECT_EQ(p[0], Value(1, 1, 0));
    EXPECT_EQ(p[1], Value(1, 1, 0));
    EXPECT_EQ(p[2], Value(1, 1, 0));
    EXPECT_EQ(p[3], 255);
}

TEST_F(ImageFiles, SdlConvertingFourBytesIsReportedUnsupported) {
    const std::string path = Png("rgba.png", 4);
    Ostrel::SDLImageLoader loader;
    testing::internal::CaptureStdout();
    ImagePtr image(loader.LoadImage(path, 2));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "Ostrel::SDLImageLoader::LoadImage: unsuppored format!\n");
    ASSERT_NE(image->pixels, nullptr);
    EXPECT_EQ(image->channels, 4u);
    EXPECT_EQ(image->width, static_cast<uint32_t>(W));
    EXPECT_EQ(image->height, static_cast<uint32_t>(H));
}

TEST_F(ImageFiles, SdlWithoutModeKeepsSurface) {
    const std::string path = Png("grey.png", 1);
    Ostrel::SDLImageLoader loader;
    ImagePtr image(loader.LoadImage(path));
    EXPECT_NE(dynamic_cast<Ostrel::SDLImageData*>(image.get()), nullptr);
    EXPECT_EQ(image->channels, 1u);
}

TEST_F(ImageFiles, SdlMissingFileGivesEmptyImageAndTwoLines) {
    const std::string path = dir.File("absent.png");
    Ostrel::SDLImageLoader loader;
    for (int mode : {-1, 1}) {
        testing::internal::CaptureStderr();
        ImagePtr image(mode < 0 ? loader.LoadImage(path) : loader.LoadImage(path, mode));
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(image->pixels, nullptr);
        EXPECT_EQ(image->width, 0u);
        EXPECT_EQ(image->height, 0u);
        const std::string second = "Could not open image file - '" + path + ". SDL_image Error: ";
        EXPECT_EQ(err.rfind("Current path: \n" + second, 0), 0u) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 2) << err;
    }
}

TEST_F(ImageFiles, SdlImageDataReleaseFreesSurfaceOnce) {
    const std::string path = Png("rgba.png", 4);
    Ostrel::SDLImageLoader loader;
    auto* image = dynamic_cast<Ostrel::SDLImageData*>(loader.LoadImage(path, 1));
    ASSERT_NE(image, nullptr);
    image->Release();
    EXPECT_EQ(image->surface, nullptr);
    EXPECT_EQ(image->pixels, nullptr);
    EXPECT_EQ(image->width, 0u);
    EXPECT_EQ(image->state, Ostrel::LifecycleReleased);
    image->Release();
    delete image;  // must neither free the surface again nor free() its pixels
}
