// The SDL_mixer sound manager on the dummy audio driver, and image decoding
// through stb_image and SDL_image, on files written at run time.
#include "TempDir.h"
#include "UnitDoubles.h"
#include "core/ImageData.h"
#include "sdl/SDLImageLoader.h"
#include "sdl/SDLSoundManager.h"
#include "sdl/STBImageLoader.h"
#include <gtest/gtest.h>
#include <stb_image_write.h>
#include <filesystem>
#include <fstream>
#include <memory>

using OstrelTest::Stderr;

namespace {
// A short 16-bit stereo PCM tone at 22050 Hz.
void WriteWav(const std::string& path) {
    const uint32_t frames = 2205, bytes = frames * 4;
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out.write("RIFF", 4);
    u32(36 + bytes);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);
    u16(2);
    u32(22050);
    u32(22050 * 4);
    u16(4);
    u16(16);
    out.write("data", 4);
    u32(bytes);
    for (uint32_t i = 0; i < frames * 2; ++i) u16(i % 50 < 25 ? 8000 : uint16_t(-8000));
}
uint8_t Value(int x, int y, int c) {
    return uint8_t(10 + 40 * y + 10 * x + c);
}
// A 3 x 2 PNG whose every byte differs, so order and orientation show.
std::string Png(const OstrelTest::TempDir& dir, const std::string& name, int channels) {
    std::vector<uint8_t> data;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            for (int c = 0; c < channels; ++c) data.push_back(Value(x, y, c));
    EXPECT_NE(stbi_write_png(dir.File(name).c_str(), 3, 2, channels, data.data(), 3 * channels), 0);
    return dir.File(name);
}
void ExpectOpaqueRgba(const Ostrel::ImageData& image, bool grey) {
    ASSERT_NE(image.pixels, nullptr);
    EXPECT_EQ(image.width, 3u);
    EXPECT_EQ(image.height, 2u);
    EXPECT_EQ(image.channels, 4u);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            for (int c = 0; c < 4; ++c)
                EXPECT_EQ(image.pixels[(y * 3 + x) * 4 + c], c == 3 ? 255 : Value(x, y, grey ? 0 : c))
                    << x << "," << y << " channel " << c;
}
}  // namespace

TEST(SoundManager, NamesKeepTheFirstSoundAndLookupsLeavePlaceholders) {
    OstrelTest::TempDir dir;
    WriteWav(dir.File("tone.wav"));
    Ostrel::SDLSoundManager sound;
    EXPECT_EQ(Stderr([&] { sound.Init(); }), "");  // the dummy driver opens
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_EQ(Mix_QuerySpec(&frequency, &format, &channels), 1);
    EXPECT_EQ(frequency, 22050);
    EXPECT_EQ(format, AUDIO_S16LSB);
    EXPECT_EQ(channels, 2);

    EXPECT_EQ(sound.GetSound("card"), nullptr);  // leaves a null entry
    Ostrel::Sound* card = sound.LoadSound(dir.File("tone.wav"), "card");
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(sound.GetSound("card"), card);
    EXPECT_EQ(sound.LoadSound(dir.File("tone.wav"), "card"), card);  // the duplicate is freed
    card->Play();
    const std::string missing = dir.File("missing.wav");
    Ostrel::Sound* none = nullptr;
    EXPECT_EQ(Stderr([&] { none = sound.LoadSound(missing, "click"); }), "Error loading sound file: " + missing + "\n");
    EXPECT_EQ(none, nullptr);
    Ostrel::SDLSound silent(nullptr);
    silent.Play();  // nothing to play: no call into the mixer
    sound.Shutdown();
    EXPECT_TRUE(sound.sounds.empty());
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

TEST(ImageLoaders, DecodeToRgbaAndReportBadFilesWithOneLine) {
    OstrelTest::TempDir dir;
    const std::string grey = Png(dir, "grey.png", 1), rgb = Png(dir, "rgb.png", 3), rgba = Png(dir, "rgba.png", 4);
    Ostrel::STBImageLoader stb;
    Ostrel::SDLImageLoader sdl;
    ExpectOpaqueRgba(*std::unique_ptr<Ostrel::ImageData>(stb.LoadImage(grey)), true);
    ExpectOpaqueRgba(*std::unique_ptr<Ostrel::ImageData>(stb.LoadImage(rgb, 1)), false);
    ExpectOpaqueRgba(*std::unique_ptr<Ostrel::ImageData>(sdl.LoadImage(grey, 1)), true);
    ExpectOpaqueRgba(*std::unique_ptr<Ostrel::ImageData>(sdl.LoadImage(rgb, 1)), false);
    std::unique_ptr<Ostrel::ImageData> four(sdl.LoadImage(rgba, 1));  // already four bytes: kept as decoded
    EXPECT_EQ(four->channels, 4u);
    EXPECT_EQ(four->pixels[4 + 3], Value(1, 0, 3));
    std::unique_ptr<Ostrel::ImageData> raw(sdl.LoadImage(rgb));
    EXPECT_EQ(raw->channels, 3u);

    dir.Write("broken.png", "not an image at all");
    std::filesystem::create_directory(dir.File("folder.png"));
    for (const char* name : {"missing.png", "broken.png", "folder.png"}) {
        // SDL_image's loader names the current path on a line of its own first.
        for (int lines : {1, 2}) {
            std::unique_ptr<Ostrel::ImageData> image;
            const std::string err = Stderr(
                [&] { image.reset(lines == 1 ? stb.LoadImage(dir.File(name), 1) : sdl.LoadImage(dir.File(name), 1)); });
            EXPECT_EQ(image->pixels, nullptr) << name;
            EXPECT_EQ(image->width, 0u);
            EXPECT_EQ(image->height, 0u);
            EXPECT_NE(err.find(dir.File(name)), std::string::npos) << err;
            EXPECT_EQ(OstrelTest::Lines(err), lines) << err;
        }
    }
}
