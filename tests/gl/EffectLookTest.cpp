// The five effects as the factory builds them from their asset files, each
// checked for the property that defines it on a known scene, plus screenshots
// of a card-table scene through every effect for looking at.
#include "FullScreenImage.h"
#include "GLTestContext.h"
#include "RecordingWindowManager.h"
#include "TempDir.h"
#include "core/FileReader.h"
#include "gl/EffectInstance.h"
#include "gl/GLESRenderer_3_1.h"
#include "gl/GLEffectFactory.h"
#include "gl/GLPostProcessManager.h"
#include "gl/GLTextureManager.h"
#include "sdl/SDLTimeManager.h"
#include "sdl/STBImageLoader.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using OstrelTest::FillRect;
using OstrelTest::SolidImage;

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// Top: red grows to the right, green downwards, blue the other way round.
// Bottom band: a black-to-white ramp. A mid-grey block and a level-85 block
// sit in the right of the ramp band.
std::vector<uint8_t> GradientScene() {
    std::vector<uint8_t> image(static_cast<size_t>(kWidth) * kHeight * 4, 255);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            uint8_t* p = &image[(static_cast<size_t>(y) * kWidth + x) * 4];
            if (y < 400) {
                p[0] = static_cast<uint8_t>(x * 255 / (kWidth - 1));
                p[1] = static_cast<uint8_t>(y * 255 / 399);
                p[2] = static_cast<uint8_t>(255 - (x + y) * 255 / (kWidth + 399));
            } else {
                const uint8_t grey = static_cast<uint8_t>(x * 255 / (kWidth - 1));
                p[0] = p[1] = p[2] = grey;
            }
        }
    }
    return image;
}

// A deal of twelve cards on the pastel table, some face down.
std::vector<uint8_t> CardTableScene() {
    std::vector<uint8_t> image = SolidImage(kWidth, kHeight, 163, 167, 194);
    const char* const names[12] = {"apple", "back",  "fox",  "star",     "back",    "rocket",
                                   "gem",   "whale", "back", "mushroom", "rainbow", "frog"};
    const int size = 128, gap = 32;
    const int left = (kWidth - (4 * size + 3 * gap)) / 2;
    const int top = (kHeight - (3 * size + 2 * gap)) / 2;
    for (int i = 0; i < 12; ++i) {
        const std::string path = std::string("assets/game/textures/cards/") + names[i] + ".png";
        int w = 0, h = 0, n = 0;
        unsigned char* card = stbi_load(path.c_str(), &w, &h, &n, 4);
        if (card == nullptr) continue;
        const int x0 = left + (i % 4) * (size + gap);
        const int y0 = top + (i / 4) * (size + gap);
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const unsigned char* s = &card[((y * h / size) * w + (x * w / size)) * 4];
                uint8_t* d = &image[(static_cast<size_t>(y0 + y) * kWidth + x0 + x) * 4];
                const int a = s[3];
                for (int c = 0; c < 3; ++c) d[c] = static_cast<uint8_t>((s[c] * a + d[c] * (255 - a)) / 255);
            }
        }
        stbi_image_free(card);
    }
    // The menu icon's place in the corner.
    FillRect(image, kWidth, 16, 16, 40, 6, 60, 64, 90);
    FillRect(image, kWidth, 16, 28, 40, 6, 60, 64, 90);
    FillRect(image, kWidth, 16, 40, 40, 6, 60, 64, 90);
    return image;
}

class EffectLookTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl.Ok());
        painter = std::make_unique<OstrelTest::FullScreenImage>();
        time.getTicks = [this] { return ticks; };
        time.delay = [](uint32_t) {};
        textures.Initialize();
        manager.Initialize();
        renderer.clearColour = Ostrel::vec4(163.0f / 255.0f, 167.0f / 255.0f, 194.0f / 255.0f, 1.0f);
    }

    void TearDown() override {
        if (HasFailure()) Save(::testing::UnitTest::GetInstance()->current_test_info()->name());
        effects.clear();
        painter.reset();
        textures.Shutdown();
    }

    Ostrel::EffectInstance* Keep(Ostrel::EffectInstance* effect) {
        effects.emplace_back(effect);
        effect->Initialize();
        return effect;
    }

    // Draws one frame of `scene` through `effect` and reads the window back.
    std::vector<uint8_t> Frame(Ostrel::EffectInstance* effect, const std::vector<uint8_t>& scene) {
        renderer.BeginFrame();
        manager.Begin(effect);
        painter->Draw(scene, kWidth, kHeight);
        manager.End();
        return gl.ReadPixels();
    }

    void Save(const std::string& name) const {
        gl.SavePng(OstrelTest::ExecutableDir() + "/EffectLookTest_" + name + ".png");
    }

    static const uint8_t* At(const std::vector<uint8_t>& pixels, int x, int y) {
        return &pixels[(static_cast<size_t>(y) * kWidth + x) * 4];
    }

    OstrelTest::GLTestContext gl{kWidth, kHeight};
    OstrelTest::RecordingWindowManager window;
    Ostrel::GLESRenderer_3_1 renderer{&window};
    Ostrel::GLPostProcessManager manager{&window, &renderer};
    Ostrel::SDLTimeManager time{60};
    uint64_t ticks = 1000;
    Ostrel::FileReader reader;
    Ostrel::STBImageLoader loader;
    Ostrel::GLTextureManager textures{&loader};
    Ostrel::GLEffectFactory factory{&reader, &renderer, &time, &textures};
    std::unique_ptr<OstrelTest::FullScreenImage> painter;
    std::vector<std::unique_ptr<Ostrel::EffectInstance>> effects;
};

TEST_F(EffectLookTest, GrayscaleGivesEqualChannelsCarryingTheLuminance) {
    Ostrel::EffectInstance* effect = Keep(factory.CreateGrayscaleEffect());
    const std::vector<uint8_t> scene = GradientScene();
    const std::vector<uint8_t> out = Frame(effect, scene);

    int worst = 0;
    for (size_t i = 0; i < out.size(); i += 4) {
        worst = std::max({worst, std::abs(out[i] - out[i + 1]), std::abs(out[i + 1] - out[i + 2])});
    }
    EXPECT_LE(worst, 1);
    // The brightness of the picture survives: check pixels against Rec. 709
    // luminance of the scene (window rows are top first, like the scene).
    for (int x : {50, 300, 650}) {
        for (int y : {40, 200, 380, 500}) {
            const uint8_t* s = At(scene, x, y);
            const double luminance = 0.2126 * s[0] + 0.7152 * s[1] + 0.0722 * s[2];
            EXPECT_NEAR(At(out, x, y)[0], luminance, 1.5) << "at " << x << "," << y;
        }
    }
}

TEST_F(EffectLookTest, TexelColourShowsOnlyAndAllFourPaletteColours) {
    Ostrel::EffectInstance* effect = Keep(factory.CreateTexelColorEffect());
    const std::vector<uint8_t> out = Frame(effect, GradientScene());

    const std::array<std::array<int, 3>, 4> palette = {
        {{0x0f, 0x38, 0x0f}, {0x30, 0x62, 0x30}, {0x8b, 0xac, 0x0f}, {0x9b, 0xbc, 0x0f}}};
    std::set<int> seen;
    int strays = 0;
    for (size_t i = 0; i < out.size(); i += 4) {
        int match = -1;
        for (int c = 0; c < 4; ++c) {
            if (std::abs(out[i] - palette[c][0]) <= 1 && std::abs(out[i + 1] - palette[c][1]) <= 1 &&
                std::abs(out[i + 2] - palette[c][2]) <= 1) {
                match = c;
            }
        }
        if (match < 0) ++strays;
        seen.insert(match);
    }
    EXPECT_EQ(strays, 0);
    EXPECT_EQ(seen, (std::set<int>{0, 1, 2, 3}));
    // Darker scene, darker palette entry: along the grey ramp the shades never go back.
    int previous = -1;
    for (int x = 0; x < kWidth; x += 4) {
        const uint8_t* p = At(out, x, 500);
        EXPECT_GE(p[1], previous) << "at x " << x;
        previous = p[1];
    }
}

TEST_F(EffectLookTest, OrderedDitherKeepsOnlyQuantisedLevelsAndTheAverage) {
    Ostrel::EffectInstance* effect = Keep(factory.CreateOrderedDitherEffect());
    std::vector<uint8_t> scene = GradientScene();
    FillRect(scene, kWidth, 0, 400, 64, 64, 128, 128, 128);
    FillRect(scene, kWidth, 64, 400, 64, 64, 85, 85, 85);
    const std::vector<uint8_t> out = Frame(effect, scene);

    std::set<int> levels;
    int strays = 0;
    for (size_t i = 0; i < out.size(); i += 4) {
        for (int c = 0; c < 3; ++c) {
            const int v = out[i + c];
            const int nearest = (v * 3 + 127) / 255 * 85;
            if (std::abs(v - nearest) > 1) ++strays;
            levels.insert(nearest);
        }
    }
    EXPECT_EQ(strays, 0);
    EXPECT_EQ(levels, (std::set<int>{0, 85, 170, 255}));

    // A flat mid grey becomes a pattern of two neighbouring levels whose
    // average is the grey; a flat level stays flat. 64 x 64 = whole 8 x 8 tiles.
    double sum = 0.0;
    std::set<int> greyLevels;
    for (int y = 400; y < 464; ++y) {
        for (int x = 0; x < 64; ++x) {
            sum += At(out, x, y)[0];
            greyLevels.insert(At(out, x, y)[0]);
            EXPECT_EQ(At(out, 64 + x, y)[1], 85);
        }
    }
    EXPECT_NEAR(sum / (64 * 64), 128.0, 3.0);
    EXPECT_EQ(greyLevels.size(), 2u);
}

TEST_F(EffectLookTest, CrtIsBlackOutsideTheCurvedGlassAndMovesWithTimeAndRandom) {
    Ostrel::EffectInstance* effect = Keep(factory.CreateCRTEffect());
    const std::vector<uint8_t> scene = SolidImage(kWidth, kHeight, 220, 220, 220);

    std::srand(7);
    const std::vector<uint8_t> first = Frame(effect, scene);
    for (auto [x, y] : {std::pair<int, int>{0, 0},
                        {kWidth - 1, 0},
                        {0, kHeight - 1},
                        {kWidth - 1, kHeight - 1},
                        {6, 6},
                        {kWidth - 7, kHeight - 7}}) {
        const uint8_t* p = At(first, x, y);
        EXPECT_EQ(p[0] + p[1] + p[2], 0) << "corner " << x << "," << y;
    }
    // The middle of the edges touches the rim, the centre is lit.
    EXPECT_GT(At(first, kWidth / 2, kHeight / 2)[1], 150);
    EXPECT_GT(At(first, kWidth / 2, 8)[1], 60);
    EXPECT_GT(At(first, 8, kHeight / 2)[1], 60);

    auto differing = [](const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
        int count = 0;
        for (size_t i = 0; i < a.size(); ++i) count += a[i] != b[i] ? 1 : 0;
        return count;
    };
    std::srand(7);
    const std::vector<uint8_t> same = Frame(effect, scene);
    EXPECT_EQ(differing(first, same), 0) << "same time and random must give the same picture";

    std::srand(8);
    const std::vector<uint8_t> otherRandom = Frame(effect, scene);
    EXPECT_GT(differing(first, otherRandom), kWidth * kHeight / 20);

    time.BeginFrame();
    ticks += 5;
    time.EndFrame();
    std::srand(7);
    const std::vector<uint8_t> later = Frame(effect, scene);
    EXPECT_GT(differing(first, later), kWidth * kHeight / 20);
}

TEST_F(EffectLookTest, ChromaticAberrationPullsRedAndBlueApartAtAHardEdge) {
    Ostrel::EffectInstance* effect = Keep(factory.CreateChromaticAberrationEffect());
    std::vector<uint8_t> scene = SolidImage(kWidth, kHeight, 0, 0, 0);
    FillRect(scene, kWidth, 200, 0, 400, kHeight, 255, 255, 255);
    const std::vector<uint8_t> out = Frame(effect, scene);

    // First x from `from` towards `step` where channel c reaches half brightness.
    auto crossing = [&](int c, int from, int step) {
        for (int x = from; x >= 0 && x < kWidth; x += step) {
            if (At(out, x, kHeight / 2)[c] >= 128) return x;
        }
        return -1;
    };
    // Right edge at x = 600, walking inwards from the right.
    const int redRight = crossing(0, kWidth - 1, -1);
    const int greenRight = crossing(1, kWidth - 1, -1);
    const int blueRight = crossing(2, kWidth - 1, -1);
    EXPECT_EQ(greenRight, 599);
    EXPECT_GT(redRight, greenRight) << "red moves outwards";
    EXPECT_LT(blueRight, greenRight) << "blue moves inwards";
    EXPECT_NEAR(redRight - greenRight, greenRight - blueRight, 1);
    // Left edge at x = 200: outwards is to the left there.
    const int redLeft = crossing(0, 0, 1);
    const int greenLeft = crossing(1, 0, 1);
    const int blueLeft = crossing(2, 0, 1);
    EXPECT_EQ(greenLeft, 200);
    EXPECT_LT(redLeft, greenLeft);
    EXPECT_GT(blueLeft, greenLeft);
    // Clear but tasteful: a few pixels, not a double image.
    EXPECT_GE(redRight - blueRight, 3);
    EXPECT_LE(redRight - blueRight, 16);
}

// Not a check of its own: the same deal through every effect, written next to
// the test executable for a person to look at.
TEST_F(EffectLookTest, WritesTheCardTableThroughEachEffect) {
    const std::vector<uint8_t> scene = CardTableScene();
    renderer.BeginFrame();
    painter->Draw(scene, kWidth, kHeight);
    Save("none");
    std::srand(3);
    const std::pair<const char*, Ostrel::EffectInstance*> all[] = {
        {"crt", Keep(factory.CreateCRTEffect())},
        {"ordered_dither", Keep(factory.CreateOrderedDitherEffect())},
        {"texel_color", Keep(factory.CreateTexelColorEffect())},
        {"grayscale", Keep(factory.CreateGrayscaleEffect())},
        {"chromatic_aberration", Keep(factory.CreateChromaticAberrationEffect())},
    };
    for (const auto& [name, effect] : all) {
        Frame(effect, scene);
        Save(name);
    }
}

}  // namespace
