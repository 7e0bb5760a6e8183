// The shipped assets: every file the configuration names exists and loads
// with the game's own loaders, at the sizes the screens draw it.
#include "UnitDoubles.h"
#include "core/Config.h"
#include "sdl/SDLSoundManager.h"
#include "sdl/STBImageLoader.h"
#include <gtest/gtest.h>
#include <filesystem>
#include <set>

using namespace OstrelTest;

TEST(GameAssets, ConfigurationNamesPicturesSoundsAndUsableNumbers) {
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
        std::unique_ptr<ImageData> image(STBImageLoader().LoadImage(path));
        ASSERT_NE(image->pixels, nullptr) << key << " -> " << path;
        EXPECT_EQ(std::to_string(image->width) + "x" + std::to_string(image->height), size) << key;
        if (key.rfind("texture_", 0) == 0) faces.emplace(image->pixels, image->pixels + 128 * 128 * 4);
    }
    EXPECT_EQ(faces.size(), 14u);  // pairwise different
    SDLSoundManager sounds;
    Stderr([&] { sounds.Init(); });
    for (const char* key : {"click_sound", "card_sound"})
        EXPECT_TRUE(config.GetString(key, &path) && sounds.LoadSound(path, key) != nullptr) << key;
    sounds.Shutdown();
    EXPECT_TRUE(config.GetString("font_data_path", &path) && std::filesystem::is_regular_file(path));
    int start = 0, hide = 0;
    float speed = 0;
    EXPECT_TRUE(config.GetInt("time_to_start", &start) && config.GetInt("hide_time", &hide) && start > 0 && hide > 0);
    EXPECT_TRUE(config.GetFloat("animation_speed", &speed) && speed > 0 && speed < 0.1f);  // the editor's range
}
