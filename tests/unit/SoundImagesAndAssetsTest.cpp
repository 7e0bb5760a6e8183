// Image decoding (stb_image, SDL_image) and the shipped assets, sounds on the dummy driver.
#include "TempDir.h"
#include "UnitDoubles.h"
#include "core/Config.h"
#include "sdl/SDLImageLoader.h"
#include "sdl/SDLSoundManager.h"
#include "sdl/STBImageLoader.h"
#include <stb_image_write.h>
#include <filesystem>

using namespace OstrelTest;
using Image = std::unique_ptr<ImageData>;

TEST(ImageLoaders, DecodeToRgbaAndReportBadFiles) {
    TempDir dir;
    auto value = [](int x, int y, int c) { return uint8_t(10 + 40 * y + 10 * x + c); };
    for (int channels : {1, 3}) {  // 3 x 2, every byte different
        std::vector<uint8_t> data;
        for (int i = 0; i < 6 * channels; ++i) data.push_back(value(i / channels % 3, i / channels / 3, i % channels));
        stbi_write_png(dir.File(std::to_string(channels) + ".png").c_str(), 3, 2, channels, data.data(), 3 * channels);
    }
    STBImageLoader stb;
    SDLImageLoader sdl;
    const std::pair<Image, bool> decoded[] = {{Image(stb.LoadImage(dir.File("1.png"))), true},
                                              {Image(stb.LoadImage(dir.File("3.png"), 1)), false},
                                              {Image(sdl.LoadImage(dir.File("1.png"), 1)), true},
                                              {Image(sdl.LoadImage(dir.File("3.png"), 1)), false}};
    for (const auto& [image, grey] : decoded) {
        ASSERT_NE(image->pixels, nullptr);
        EXPECT_EQ(Str({int(image->width), int(image->height), int(image->channels), 0}), "3,2,4,0");
        for (int i = 0; i < 24; ++i)
            EXPECT_EQ(image->pixels[i], i % 4 == 3 ? 255 : value(i / 4 % 3, i / 12, grey ? 0 : i % 4)) << i;
    }
    dir.Write("broken.png", "not an image at all");
    std::filesystem::create_directory(dir.File("folder.png"));
    for (const char* name : {"missing.png", "broken.png", "folder.png"}) {
        for (int loader = 0; loader < 2; ++loader) {  // SDL_image's names the current path on a line first
            Image image;
            const std::string err = Captured(
                [&] { image.reset(loader ? sdl.LoadImage(dir.File(name), 1) : stb.LoadImage(dir.File(name))); });
            EXPECT_EQ(image->pixels, nullptr) << name;
            EXPECT_EQ(image->width, 0u) << name;
            EXPECT_EQ(Lines(err), 1 + loader) << name << ": " << err;
            EXPECT_NE(err.find(dir.File(name)), std::string::npos) << name << ": " << err;
        }
    }
}

TEST(GameAssets, ConfigurationNamesPicturesAndSoundsThatLoadAndUsableNumbers) {
    Config config;
    config.Load();  // from the repository root
    std::vector<std::pair<std::string, const char*>> pictures = {{"card", "128x128"},   {"icon_navbar", "64x64"},
                                                                 {"icon_esc", "64x64"}, {"icon_mouse", "64x64"},
                                                                 {"logo", "372x140"},   {"font_image_path", "512x512"}};
    for (int i = 0; i < 14; ++i) pictures.push_back({"texture_" + std::to_string(i), "128x128"});
    std::set<std::vector<uint8_t>> faces;
    std::string path;
    for (const auto& [key, size] : pictures) {
        ASSERT_TRUE(config.GetString(key, &path)) << key;
        Image image(STBImageLoader().LoadImage(path));
        ASSERT_NE(image->pixels, nullptr) << key << " -> " << path;
        EXPECT_EQ(std::to_string(image->width) + "x" + std::to_string(image->height), size) << key;
        if (key.rfind("texture_", 0) == 0) faces.emplace(image->pixels, image->pixels + 128 * 128 * 4);
    }
    EXPECT_EQ(faces.size(), 14u);  // pairwise different
    for (const char* key : {"time_to_start", "hide_time"}) {
        int value = 0;
        EXPECT_TRUE(config.GetInt(key, &value)) << key;
        EXPECT_GT(value, 0) << key;
    }
    float speed = 0;
    EXPECT_TRUE(config.GetFloat("animation_speed", &speed));
    EXPECT_GT(speed, 0);
    EXPECT_LT(speed, 0.1f);  // the editor's range
    ASSERT_TRUE(config.GetString("font_data_path", &path));
    EXPECT_TRUE(std::filesystem::is_regular_file(path)) << path;
    SDLSoundManager sounds;
    EXPECT_EQ(Captured([&] { sounds.Init(); }), "");
    EXPECT_EQ(sounds.GetSound("card_sound"), nullptr);       // leaves a null entry for the load to fill
    for (const char* key : {"click_sound", "card_sound"}) {  // a second load under a name is freed, the first stays
        Sound* first = config.GetString(key, &path) ? sounds.LoadSound(path, key) : nullptr;
        ASSERT_NE(first, nullptr) << key;
        EXPECT_EQ(sounds.LoadSound(path, key), first) << key;
        EXPECT_EQ(sounds.GetSound(key), first) << key;
    }
    EXPECT_EQ(Captured([&] { EXPECT_EQ(sounds.LoadSound("none.wav", "x"), nullptr); }),
              "Error loading sound file: none.wav\n");
    sounds.Shutdown();
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
