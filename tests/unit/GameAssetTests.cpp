// The shipped assets: every file config.txt names exists and decodes with the
// game's own loaders, at the sizes the screens draw them.
#include "core/Config.h"
#include "sdl/SDLSoundManager.h"
#include "sdl/STBImageLoader.h"
#include "core/FileReader.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

Ostrel::Config LoadShippedConfig() {
    Ostrel::Config config;
    config.Load();  // relative to the working directory: the repository root
    return config;
}

std::vector<std::string> PictureKeys() {
    std::vector<std::string> keys;
    for (int i = 0; i < 14; ++i) keys.push_back("texture_" + std::to_string(i));
    for (const char* k : {"card", "icon_navbar", "icon_esc", "icon_mouse", "logo", "font_image_path"})
        keys.push_back(k);
    return keys;
}

std::string Lookup(Ostrel::Config& config, const std::string& key) {
    std::string value;
    EXPECT_TRUE(config.GetString(key, &value)) << key;
    return value;
}

}  // namespace

TEST(GameConfig, EveryKeyIsPresentAndEveryNumberConverts) {
    Ostrel::Config config = LoadShippedConfig();
    ASSERT_FALSE(config.text.empty());
    for (const std::string& key : PictureKeys()) {
        const std::string path = Lookup(config, key);
        EXPECT_TRUE(std::filesystem::is_regular_file(path)) << key << " -> '" << path << "'";
    }
    for (const char* key : {"font_data_path", "click_sound", "card_sound"}) {
        const std::string path = Lookup(config, key);
        EXPECT_TRUE(std::filesystem::is_regular_file(path)) << key << " -> '" << path << "'";
    }

    int timeToStart = -1, hideTime = -1;
    float speed = -1.0f;
    ASSERT_TRUE(config.GetInt("time_to_start", &timeToStart));
    ASSERT_TRUE(config.GetInt("hide_time", &hideTime));
    ASSERT_TRUE(config.GetFloat("animation_speed", &speed));
    // Playable values: a memorise phase to glance at 20 cards, a mismatch long
    // enough to remember, and a flip speed inside the editor slider's 0..0.1.
    EXPECT_GE(timeToStart, 1500);
    EXPECT_LE(timeToStart, 10000);
    EXPECT_GE(hideTime, 400);
    EXPECT_LE(hideTime, 3000);
    EXPECT_GT(speed, 0.0f);
    EXPECT_LT(speed, 0.1f);
    // A flip turns by pi; it should read as a turn, not a blink or a crawl.
    const float flipMs = 3.14159265f / speed;
    EXPECT_GT(flipMs, 150.0f);
    EXPECT_LT(flipMs, 1200.0f);
}

TEST(GameConfig, NoValueCarriesStrayWhitespace) {
    Ostrel::Config config = LoadShippedConfig();
    for (const std::string& key : PictureKeys()) {
        const std::string value = Lookup(config, key);
        ASSERT_FALSE(value.empty()) << key;
        EXPECT_FALSE(std::isspace(static_cast<unsigned char>(value.back()))) << key;
        EXPECT_FALSE(std::isspace(static_cast<unsigned char>(value.front()))) << key;
    }
}

TEST(GamePictures, EveryPictureDecodesAtTheSizeTheScreensExpect) {
    Ostrel::Config config = LoadShippedConfig();
    Ostrel::STBImageLoader loader;

    auto load = [&](const std::string& key) {
        return std::unique_ptr<Ostrel::ImageData>(loader.LoadImage(Lookup(config, key)));
    };

    std::unique_ptr<Ostrel::ImageData> back = load("card");
    ASSERT_NE(back->pixels, nullptr);
    EXPECT_EQ(back->width, back->height) << "cards are square";
    EXPECT_TRUE(back->width == 128 || back->width == 256);

    std::set<std::vector<uint8_t>> distinctFaces;
    for (int i = 0; i < 14; ++i) {
        const std::string key = "texture_" + std::to_string(i);
        std::unique_ptr<Ostrel::ImageData> face = load(key);
        ASSERT_NE(face->pixels, nullptr) << key;
        EXPECT_EQ(face->width, back->width) << key;
        EXPECT_EQ(face->height, back->height) << key;
        EXPECT_EQ(face->channels, 4u);
        // A whole card: the corners' neighbourhood and the centre are opaque.
        const auto alphaAt = [&](unsigned x, unsigned y) { return face->pixels[(y * face->width + x) * 4 + 3]; };
        EXPECT_EQ(alphaAt(face->width / 2, face->height / 2), 255) << key;
        EXPECT_EQ(alphaAt(face->width / 2, 6), 255) << key;
        distinctFaces.insert(std::vector<uint8_t>(face->pixels, face->pixels + face->width * face->height * 4));
    }
    EXPECT_EQ(distinctFaces.size(), 14u) << "the 14 faces must be pairwise different";

    std::unique_ptr<Ostrel::ImageData> logo = load("logo");
    ASSERT_NE(logo->pixels, nullptr);
    // Drawn at 372x140, 279x105 and 186x70: aspect 93:35.
    EXPECT_EQ(logo->width * 35, logo->height * 93);

    for (const char* key : {"icon_navbar", "icon_esc", "icon_mouse"}) {
        std::unique_ptr<Ostrel::ImageData> icon = load(key);
        ASSERT_NE(icon->pixels, nullptr) << key;
        EXPECT_EQ(icon->width, icon->height) << key;
        EXPECT_GE(icon->width, 32u) << key;
    }
}

TEST(GamePictures, FaceDiffersFromTheBackEverywhereAPlayerLooks) {
    Ostrel::Config config = LoadShippedConfig();
    Ostrel::STBImageLoader loader;
    std::unique_ptr<Ostrel::ImageData> back(loader.LoadImage(Lookup(config, "card")));
    std::unique_ptr<Ostrel::ImageData> face(loader.LoadImage(Lookup(config, "texture_0")));
    ASSERT_NE(back->pixels, nullptr);
    ASSERT_NE(face->pixels, nullptr);
    ASSERT_EQ(back->width * back->height, face->width * face->height);
    // Mean absolute difference over the card: a back must not look like a face.
    double diff = 0.0;
    const size_t n = static_cast<size_t>(back->width) * back->height * 4;
    for (size_t i = 0; i < n; ++i) diff += std::abs(int(back->pixels[i]) - int(face->pixels[i]));
    EXPECT_GT(diff / double(n), 30.0);
}

TEST(EffectTextures, DecodeAndThePaletteHoldsTheFourGreens) {
    Ostrel::STBImageLoader loader;
    for (const char* path :
         {"assets/framework/textures/crt/scanlines.png", "assets/framework/textures/crt/vignette.png",
          "assets/framework/textures/crt/perlin.png"}) {
        std::unique_ptr<Ostrel::ImageData> image(loader.LoadImage(path));
        EXPECT_NE(image->pixels, nullptr) << path;
        EXPECT_GT(image->width, 0u) << path;
    }
    std::unique_ptr<Ostrel::ImageData> palette(
        loader.LoadImage("assets/framework/textures/texel_color/gameboy_colors.png"));
    ASSERT_NE(palette->pixels, nullptr);
    std::set<uint32_t> colours;
    for (unsigned i = 0; i < palette->width * palette->height; ++i) {
        const uint8_t* p = palette->pixels + i * 4;
        colours.insert(uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]);
    }
    EXPECT_EQ(colours, (std::set<uint32_t>{0x0f380f, 0x306230, 0x8bac0f, 0x9bbc0f}));
}

TEST(GameSounds, BothSoundsLoadThroughTheSoundManager) {
    Ostrel::Config config = LoadShippedConfig();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    Ostrel::SDLSoundManager sounds;
    sounds.Init();
    EXPECT_NE(sounds.LoadSound(Lookup(config, "click_sound"), "click_sound"), nullptr);
    EXPECT_NE(sounds.LoadSound(Lookup(config, "card_sound"), "card_sound"), nullptr);
    sounds.Shutdown();
    SDL_Quit();
}

TEST(GameFonts, TheDefaultAndTheBitmapFontAreShipped) {
    EXPECT_TRUE(std::filesystem::is_regular_file("assets/game/fonts/ThaleahFat.ttf"));
    Ostrel::Config config = LoadShippedConfig();
    const std::string data = Lookup(config, "font_data_path");
    Ostrel::FileReader reader;
    const std::string csv = reader.ReadFile(data);
    EXPECT_NE(csv.find("Font Height,"), std::string::npos);
    EXPECT_NE(csv.find("Cell Width,32"), std::string::npos);
    EXPECT_NE(csv.find("Cell Height,32"), std::string::npos);
    EXPECT_NE(csv.find("Char 65 Base Width,"), std::string::npos);
}
