// Effects from the factory, drawn through the post-process manager over a known scene; the manager's lifecycle.
#include "GLTestContext.h"
#include "gl/EffectInstance.h"
#include "gl/GLEffectFactory.h"
#include "gl/GLPostProcessManager.h"
#include "gl/IEffectShader.h"
#include "sdl/SDLTimeManager.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <set>

using namespace Ostrel;
using OstrelTest::Rgba;
using Effect = std::unique_ptr<EffectInstance>;

namespace {

class EffectScene : public OstrelTest::GLScene {
protected:
    GLPostProcessManager post{&window, &renderer};
    SDLTimeManager time{60};
    GLEffectFactory factory{&files, &renderer, &time, &textures};
    ITexture2D* scene = nullptr;
    ITexture2D* white = nullptr;

    void SetUp() override {
        GLScene::SetUp();
        post.Initialize();
        // 8 x 4 cells of assorted colours.
        std::vector<uint8_t> cells;
        for (int i = 0; i < 32; ++i)
            cells.insert(cells.end(), {uint8_t(i * 53), uint8_t(i * 97), uint8_t(i * 151), 255});
        scene = Texture(cells, 8, 4);
        white = Texture({255, 255, 255, 255}, 1, 1);
    }

    Effect Make(EffectInstance* (GLEffectFactory::*create)()) {
        Effect effect((factory.*create)());
        effect->Initialize();
        return effect;
    }

    // Colour cells on the left half, a white block on black at the right.
    std::vector<Rgba> Draw(PostProcessManager& manager, EffectInstance* effect, int seed = 1) {
        std::srand(static_cast<unsigned>(seed));
        renderer.BeginFrame();
        manager.Begin(effect);
        sprites.Begin(0);
        sprites.DrawSprite(scene, ivec4(0, 0, 400, 600));
        sprites.DrawSprite(white, ivec4(650, 250, 100, 100));
        sprites.DrawSprite(white, ivec4(renderer.GetWidth() - 30, renderer.GetHeight() - 30, 20, 20));
        manager.End();
        return Frame();
    }
};

TEST_F(EffectScene, EachEffectShowsItsSignature) {
    ImageData* paletteImage = images.LoadImage("assets/framework/textures/texel_color/gameboy_colors.png");
    std::set<std::vector<int>> palette;
    std::vector<std::vector<int>> shades;  // the bands in order, darkest first
    for (uint32_t i = 0; i < paletteImage->width * paletteImage->height * 4; i += 4)
        if (palette.insert({paletteImage->pixels[i], paletteImage->pixels[i + 1], paletteImage->pixels[i + 2]}).second)
            shades.push_back({paletteImage->pixels[i], paletteImage->pixels[i + 1], paletteImage->pixels[i + 2]});
    delete paletteImage;
    ASSERT_EQ(shades.size(), 4u);

    struct Look {
        const char* name;
        EffectInstance* (GLEffectFactory::*create)();
        std::function<bool(const Rgba&)> allowed;
        std::function<void()> more;
    };
    const auto any = [](const Rgba&) { return true; };
    const auto inPalette = [&](const Rgba& p) { return palette.count({p.r, p.g, p.b}) == 1; };
    const auto level = [](int v) { return v % 85 <= 1 || v % 85 >= 84; };  // 0, 85, 170 or 255
    const Look looks[] = {
        {"grayscale", &GLEffectFactory::CreateGrayscaleEffect,
         [](const Rgba& p) { return std::abs(p.r - p.g) <= 1 && std::abs(p.g - p.b) <= 1; }, [] {}},
        {"dither", &GLEffectFactory::CreateOrderedDitherEffect,
         [&](const Rgba& p) { return level(p.r) && level(p.g) && level(p.b); }, [] {}},
        {"palette", &GLEffectFactory::CreateTexelColorEffect, inPalette,
         [&] {  // each colour cell takes the shade (a quarter of 255 wide) of its Rec. 709 luminance
             for (int i = 0; i < 32; ++i) {
                 const double shade =
                     (0.2126 * uint8_t(i * 53) + 0.7152 * uint8_t(i * 97) + 0.0722 * uint8_t(i * 151)) / 63.75;
                 const Rgba p = At(25 + i % 8 * 50, 75 + i / 8 * 150);
                 if (std::abs(shade - std::round(shade)) > 0.05)  // not too close to call
                     EXPECT_EQ(shades[int(shade)], (std::vector<int>{p.r, p.g, p.b})) << "cell " << i;
             }
         }},
        {"crt", &GLEffectFactory::CreateCRTEffect, any,
         [&] {  // a bent picture with black corners
             for (const Rgba& p : {At(0, 0), At(799, 0), At(0, 599), At(799, 599)}) EXPECT_TRUE(p.Near(0, 0, 0, 1));
         }},
        {"aberration", &GLEffectFactory::CreateChromaticAberrationEffect, any,
         [&] {  // red and blue part at the block's edges, nothing strays further
             int fringes = 0;
             for (int x = 640; x <= 760; ++x) fringes += std::abs(At(x, 300).r - At(x, 300).b) > 100;
             EXPECT_TRUE(fringes > 0 && fringes < 20) << fringes;
             EXPECT_TRUE(At(630, 300).Near(0, 0, 0, 2) && At(770, 300).Near(0, 0, 0, 2));
         }},
    };
    for (const Look& look : looks) {
        SCOPED_TRACE(look.name);
        Effect effect = Make(look.create);
        std::set<std::vector<int>> colours;
        int offenders = 0;
        for (const Rgba& p : Draw(post, effect.get())) {
            colours.insert({p.r, p.g, p.b});
            offenders += !look.allowed(p);
        }
        EXPECT_EQ(offenders, 0);
        EXPECT_GE(colours.size(), 3u) << "the scene shows through";
        EXPECT_TRUE(At(700, 300).Lit() && (At(200, 300).Lit() || At(100, 300).Lit()));
        look.more();
    }
}

TEST_F(EffectScene, TheTimeSizeAndRandomValueDecideThePicture) {
    Effect crt = Make(&GLEffectFactory::CreateCRTEffect);
    time.totalSeconds = 1.5f;
    const std::vector<Rgba> first = Draw(post, crt.get(), 7);
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    float seconds = 0.0f, size[2] = {0.0f, 0.0f};
    glGetUniformfv(program, glGetUniformLocation(program, "u_time"), &seconds);
    glGetUniformfv(program, glGetUniformLocation(program, "u_resolution"), size);
    EXPECT_EQ(seconds, 1.5f) << "the scanlines roll by the second";
    EXPECT_EQ(std::vector<float>(size, size + 2), std::vector<float>({800.0f, 600.0f}));
    EXPECT_EQ(Draw(post, crt.get(), 7), first);
    EXPECT_NE(Draw(post, crt.get(), 8), first) << "the noise follows the random value";
    time.totalSeconds = 2.5f;
    EXPECT_NE(Draw(post, crt.get(), 7), first) << "the scanlines follow the time";
}

TEST_F(EffectScene, EffectsOfOneKindShareTheirTextures) {
    for (auto create : {&GLEffectFactory::CreateCRTEffect, &GLEffectFactory::CreateTexelColorEffect}) {
        Effect first = Make(create);
        const std::vector<Rgba> before = Draw(post, first.get());
        Effect second = Make(create);
        for (int slot = 1; slot < 4; ++slot)
            EXPECT_EQ(second->GetShader()->GetTexture(slot), first->GetShader()->GetTexture(slot));
        second.reset();
        EXPECT_TRUE(Draw(post, first.get()) == before) << "the first still draws with live textures";
    }
}

// Without an effect the scene stays on the window; after a resize, a target
// live before it and one initialised after it both pass the whole picture.
TEST_F(EffectScene, WithoutAnEffectTheSceneStaysOnTheWindowAndTargetsFollowResizes) {
    Effect gray = Make(&GLEffectFactory::CreateGrayscaleEffect);
    Draw(post, nullptr);
    EXPECT_TRUE(At(75, 75).Near(53, 97, 151)) << "the scene in its own colours: " << At(75, 75);

    GLPostProcessManager late{&window, &renderer};
    window.Resize(1024, 768);
    late.Initialize();
    for (auto* manager : {&post, &late}) {
        Draw(*manager, gray.get());
        EXPECT_TRUE(At(1004, 748).Near(255, 255, 255)) << "the offscreen image grew: " << At(1004, 748);
        EXPECT_TRUE(At(75, 75).r == At(75, 75).b && At(75, 75).Lit()) << At(75, 75);
    }
}

// Before Initialize, Begin binds the window itself: the scene must land there
// without the offscreen depth test, which would reject every sprite.
TEST_F(EffectScene, AManagerNeverInitialisedPassesTheSceneThrough) {
    Effect gray = Make(&GLEffectFactory::CreateGrayscaleEffect);
    GLPostProcessManager idle{&window, &renderer};
    Draw(idle, gray.get());
    EXPECT_TRUE(At(75, 75).Near(53, 97, 151)) << At(75, 75);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
}

}  // namespace
