// The shipped assets: every file the configuration names exists and loads
// with the game's own loaders, at the sizes the screens draw it.
#include "UnitDoubles.h"
#include "core/Config.h"
#include "sdl/SDLSoundManager.h"
#include "sdl/STBImageLoader.h"
#include <gtest/gtest.h>
#include <memory>
#include <set>

TEST(GameAssets, ConfigurationNamesPicturesSoundsAndUsableNumbers) {
    Ostrel::Config config;
    config.Load();  // from the repository root
    struct Row {
        std::string key;
        unsigned width, height;
    };
    std::vector<Row> pictures = {{"card", 128, 128},     {"icon_navbar", 64, 64}, {"icon_esc", 64, 64},
                                 {"icon_mouse", 64, 64}, {"logo", 372, 140},      {"font_image_path", 512, 512}};
    for (int i = 0; i < 14; ++i) pictures.push_back({"texture_" + std::to_string(i), 128, 128});
    Ostrel::STBImageLoader images;
    std::set<std::vector<uint8_t>> faces;
    for (const Row& row : pictures) {
        std::string path;
        ASSERT_TRUE(config.GetString(row.key, &path)) << row.key;
        std::unique_ptr<Ostrel::ImageData> image(images.LoadImage(path));
        ASSERT_NE(image->pixels, nullptr) << row.key << " -> " << path;
        EXPECT_EQ(image->width, row.width) << row.key;
        EXPECT_EQ(image->height, row.height) << row.key;
        if (row.key.rfind("texture_", 0) == 0) faces.emplace(image->pixels, image->pixels + 128 * 128 * 4);
    }
    EXPECT_EQ(faces.size(), 14u);  // pairwise different
    Ostrel::SDLSoundManager sounds;
    OstrelTest::Stderr([&] { sounds.Init(); });
    for (const char* key : {"click_sound", "card_sound"}) {
        std::string path;
        ASSERT_TRUE(config.GetString(key, &path)) << key;
        EXPECT_NE(sounds.LoadSound(path, key), nullptr) << path;
    }
    sounds.Shutdown();
    std::string csv;
    ASSERT_TRUE(config.GetString("font_data_path", &csv));
    int start = 0, hide = 0;
    float speed = 0;
    EXPECT_TRUE(config.GetInt("time_to_start", &start) && start > 0);
    EXPECT_TRUE(config.GetInt("hide_time", &hide) && hide > 0);
    EXPECT_TRUE(config.GetFloat("animation_speed", &speed) && speed > 0 && speed < 0.1f);  // the editor's range
}
