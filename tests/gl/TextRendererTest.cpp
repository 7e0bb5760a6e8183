// The GL text renderer drawing into a real context: where glyphs land, how the
// pen moves, what empty and unloaded input does, and which textures get bound.
#include "FixedSizeRenderer.h"
#include "GLTestContext.h"
#include "RecordingImageLoader.h"
#include "RecordingTextureManager.h"
#include "TempDir.h"
#include "core/FileReader.h"
#include "gl/BitmapFontLoader.h"
#include "gl/Font.h"
#include "gl/GLTextRenderer.h"
#include "gl/GLTextureManager.h"
#include "gl/TrueTypeFontLoader.h"
#include "sdl/STBImageLoader.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Ostrel::Character;
using Ostrel::Font;
using Ostrel::vec2;
using Ostrel::vec4;
using OstrelTest::GLTestContext;

const vec4 kWhite(1.0f, 1.0f, 1.0f, 1.0f);
const char* const kDefaultFontPath = "assets/game/fonts/ThaleahFat.ttf";

// Bounding box of every pixel brighter than a threshold (any channel), in window coordinates.
struct Ink {
    bool any = false;
    int left = 0, top = 0, right = -1, bottom = -1;  // inclusive
};

Ink FindInk(const std::vector<uint8_t>& rgba, int width, int height, int threshold = 64) {
    Ink ink;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
            if (p[0] <= threshold && p[1] <= threshold && p[2] <= threshold) continue;
            if (!ink.any) {
                ink = Ink{true, x, y, x, y};
            } else {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
            }
        }
    }
    return ink;
}

class GLTextRendererTest : public ::testing::Test {
protected:
    std::unique_ptr<GLTestContext> context;
    std::unique_ptr<OstrelTest::FixedSizeRenderer> renderer;
    Ostrel::FileReader reader;
    Ostrel::STBImageLoader stbLoader;
    OstrelTest::RecordingImageLoader pictures;
    std::unique_ptr<Ostrel::GLTextureManager> textures;
    std::unique_ptr<Ostrel::GLTextRenderer> text;
    OstrelTest::TempDir dir;
    std::vector<std::unique_ptr<Font>> fonts;

    void SetUp() override { Open(800, 600, 800, 600); }

    void TearDown() override {
        if (::testing::Test::HasFailure() && context && context->Ok()) {
            const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
            context->SavePng(OstrelTest::ExecutableDir() + "/GLTextRendererTest_" + name + ".png");
        }
        Close();
    }

    // A window of one size and a renderer that believes in another, so Resize can be tested.
    void Open(int windowWidth, int windowHeight, int rendererWidth, int rendererHeight) {
        context = std::make_unique<GLTestContext>(windowWidth, windowHeight);
        ASSERT_TRUE(context->Ok());
        renderer = std::make_unique<OstrelTest::FixedSizeRenderer>(rendererWidth, rendererHeight);
        textures = std::make_unique<Ostrel::GLTextureManager>(&stbLoader);
        text = std::make_unique<Ostrel::GLTextRenderer>(renderer.get(), &reader);
        ::testing::internal::CaptureStdout();
        text->Initialize();
        const std::string out = ::testing::internal::GetCapturedStdout();
        ASSERT_EQ(out, "") << "text shader did not load cleanly";
    }

    void Close() {
        fonts.clear();  // textures go while the context is alive
        if (text) text->Shutdown();
        text.reset();
        context.reset();
    }

    void Clear() {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    // A bitmap font of the given height whose atlas is solid white, so every
    // glyph quad shows as a filled rectangle.
    Font* SolidBitmapFont(int height, int advance) {
        pictures.AddPicture("solid.png", 256, 256, 0xffffffffu);
        std::string description = "Font Height," + std::to_string(height) + "\nCell Width,16\nCell Height,16\n";
        for (int code = 32; code < 128; ++code) {
            description += "Char " + std::to_string(code) + " Base Width," + std::to_string(advance) + "\n";
        }
        dir.Write("solid.csv", description);
        Ostrel::BitmapFontLoader loader(&pictures, textures.get());
        fonts.emplace_back(loader.LoadBitmapFont("solid.png", dir.File("solid.csv")));
        return fonts.back().get();
    }

    Font* DefaultFont(unsigned height = 48) {
        Ostrel::TrueTypeFontLoader loader(textures.get());
        fonts.emplace_back(loader.LoadTrueTypeFont(kDefaultFontPath, height));
        return fonts.back().get();
    }

    Ink Draw(Font* font, const std::string& line, vec2 position, float scale, vec4 colour = kWhite) {
        Clear();
        text->Begin(0);
        text->DrawText(font, line, position, scale, colour);
        text->End();
        return FindInk(context->ReadPixels(), context->width, context->height);
    }
};

TEST_F(GLTextRendererTest, BitmapLineCoversTheRowsOfItsScaledHeight) {
    Font* font = SolidBitmapFont(16, 16);
    const Ink ink = Draw(font, "A", vec2(100.0f, 50.0f), 0.5f);
    ASSERT_TRUE(ink.any);
    EXPECT_EQ(ink.top, 50);
    EXPECT_EQ(ink.bottom, 57);
    EXPECT_EQ(ink.left, 100);
    EXPECT_EQ(ink.right, 107);
}

TEST_F(GLTextRendererTest, BitmapPenMovesByTheScaledAdvanceInPixels) {
    Font* font = SolidBitmapFont(16, 20);  // glyphs 8 wide at scale 0.5, advancing 10
    Draw(font, "AAA", vec2(40.0f, 40.0f), 0.5f);
    for (int glyph = 0; glyph < 3; ++glyph) {
        const int x = 40 + glyph * 10;
        EXPECT_GT(context->Pixel(x, 44).r, 200) << "glyph " << glyph;
        EXPECT_GT(context->Pixel(x + 7, 44).r, 200) << "glyph " << glyph;
        EXPECT_LT(context->Pixel(x + 8, 44).r, 50) << "gap after glyph " << glyph;
        EXPECT_LT(context->Pixel(x + 9, 44).r, 50) << "gap after glyph " << glyph;
    }
}

TEST_F(GLTextRendererTest, TextTakesTheColourAndBlendsOverTheFrame) {
    Font* font = SolidBitmapFont(16, 16);
    Draw(font, "A", vec2(10.0f, 10.0f), 1.0f, vec4(1.0f, 0.0f, 0.0f, 1.0f));
    const OstrelTest::Rgba red = context->Pixel(18, 18);
    EXPECT_GT(red.r, 250);
    EXPECT_LT(red.g, 5);
    Draw(font, "A", vec2(10.0f, 10.0f), 1.0f, vec4(0.0f, 1.0f, 0.0f, 0.5f));
    const OstrelTest::Rgba half = context->Pixel(18, 18);
    EXPECT_NEAR(half.g, 128, 3);
}

TEST_F(GLTextRendererTest, TrueTypeBaselineSitsHalfAScaledHeightBelowThePosition) {
    Font* font = DefaultFont();
    const Character* x = font->GetCharacter('X');
    ASSERT_GT(x->size.y, 0);
    for (float scale : {1.0f, 0.5f, 2.0f}) {
        SCOPED_TRACE("scale " + std::to_string(scale));
        const Ink ink = Draw(font, "X", vec2(200.0f, 150.0f), scale);
        ASSERT_TRUE(ink.any);
        const float baseline = 150.0f + 48.0f * scale * 0.5f;
        // 'X' stands on the baseline: its ink ends just above it and rises by its bearing.
        EXPECT_NEAR(ink.bottom + 1, baseline - (x->bearing.y - x->size.y) * scale, 1.0);
        EXPECT_NEAR(ink.top, baseline - x->bearing.y * scale, 1.0);
        EXPECT_NEAR(ink.left, 200.0f + x->bearing.x * scale, 1.0);
    }
}

TEST_F(GLTextRendererTest, TrueTypeAdvanceIsCutToWholePixelsBeforeScaling) {
    // Two hand-made glyphs 4 x 8 pixels with an advance of 638/64 = 9.97 pixels.
    Font font(Ostrel::TrueType);
    font.height = 16;
    const std::vector<unsigned char> solid(4 * 8, 255);
    Ostrel::TextureParameters params;
    params.channels = 1;
    Character glyph;
    glyph.texture = textures->CreateTexture(solid.data(), 4, 8, params);
    glyph.size = Ostrel::ivec2(4, 8);
    glyph.bearing = Ostrel::ivec2(0, 8);
    glyph.advance[0] = 638;
    font.AddCharacter('a', glyph);
    for (float scale : {1.0f, 2.0f}) {
        SCOPED_TRACE("scale " + std::to_string(scale));
        Draw(&font, "aa", vec2(100.0f, 100.0f), scale);
        const int second = 100 + static_cast<int>(9 * scale);
        const int y = static_cast<int>(100 + 8 * scale - 4 * scale);  // inside both glyphs
        EXPECT_GT(context->Pixel(second, y).r, 200);
        EXPECT_LT(context->Pixel(second - 1, y).r, 50);
        EXPECT_GT(context->Pixel(100 + static_cast<int>(4 * scale) - 1, y).r, 200);
    }
}

TEST_F(GLTextRendererTest, EmptyStringDrawsNothing) {
    Font* bitmap = SolidBitmapFont(16, 16);
    Font* trueType = DefaultFont();
    EXPECT_FALSE(Draw(bitmap, "", vec2(100.0f, 100.0f), 1.0f).any);
    EXPECT_FALSE(Draw(trueType, "", vec2(100.0f, 100.0f), 1.0f).any);
}

TEST_F(GLTextRendererTest, HighBytesDrawNothingAndDoNotMoveThePen) {
    Font* bitmap = SolidBitmapFont(16, 16);
    Font* trueType = DefaultFont();
    for (Font* font : {bitmap, trueType}) {
        SCOPED_TRACE(font == bitmap ? "bitmap" : "TrueType");
        const size_t before = font->characters.size();
        Draw(font, "AB", vec2(50.0f, 80.0f), 1.0f);
        const std::vector<uint8_t> plain = context->ReadPixels();
        Draw(font,
             "A\xC9\xFF"
             "B\x80",
             vec2(50.0f, 80.0f), 1.0f);
        EXPECT_TRUE(plain == context->ReadPixels());
        EXPECT_EQ(font->characters.size(), before + 3);  // empty records for 0xC9, 0xFF, 0x80
        EXPECT_EQ(font->GetCharacter(static_cast<char>(0xC9))->advance[0], 0u);
    }
}

TEST_F(GLTextRendererTest, ResizeMovesTextToTheNewFrame) {
    Close();
    Open(1280, 720, 800, 600);
    Font* font = SolidBitmapFont(16, 16);
    text->Resize(1280, 720);
    EXPECT_EQ(text->width, 1280);
    EXPECT_EQ(text->height, 720);
    Ink ink = Draw(font, "A", vec2(0.0f, 0.0f), 1.0f);
    EXPECT_EQ(ink.top, 0);
    EXPECT_EQ(ink.bottom, 15);
    EXPECT_EQ(ink.left, 0);
    EXPECT_EQ(ink.right, 15);
    ink = Draw(font, "A", vec2(1000.0f, 600.0f), 1.0f);
    EXPECT_EQ(ink.top, 600);
    EXPECT_EQ(ink.bottom, 615);
    EXPECT_EQ(ink.left, 1000);
}

TEST_F(GLTextRendererTest, GlyphTexturesAreBoundOnlyWhenTheyChange) {
    OstrelTest::RecordingTextureManager recording;
    Ostrel::TrueTypeFontLoader loader(&recording);
    std::unique_ptr<Font> font(loader.LoadTrueTypeFont(kDefaultFontPath, 16));
    auto binds = [&](char code) {
        return static_cast<OstrelTest::RecordingTexture*>(font->GetCharacter(code)->texture)->bindCount;
    };
    text->Begin(0);
    text->DrawText(font.get(), "AB", vec2(0.0f, 0.0f), 1.0f, kWhite);
    EXPECT_EQ(binds('A'), 1);
    EXPECT_EQ(binds('B'), 1);
    text->DrawText(font.get(), "BBB", vec2(0.0f, 20.0f), 1.0f, kWhite);
    EXPECT_EQ(binds('B'), 1);  // still bound from the line before
    text->End();
    text->Begin(0);  // a new batch forgets what was bound
    text->DrawText(font.get(), "B", vec2(0.0f, 0.0f), 1.0f, kWhite);
    EXPECT_EQ(binds('B'), 2);
    text->End();

    OstrelTest::RecordingImageLoader images;
    images.AddPicture("atlas.png", 64, 64);
    dir.Write("atlas.csv", "Font Height,16\nCell Width,8\nCell Height,8\n");
    Ostrel::BitmapFontLoader bitmapLoader(&images, &recording);
    std::unique_ptr<Font> bitmap(bitmapLoader.LoadBitmapFont("atlas.png", dir.File("atlas.csv")));
    text->Begin(0);
    text->DrawText(bitmap.get(), "Hello", vec2(0.0f, 0.0f), 1.0f, kWhite);
    text->DrawText(bitmap.get(), "again", vec2(0.0f, 20.0f), 1.0f, kWhite);
    text->End();
    EXPECT_EQ(static_cast<OstrelTest::RecordingTexture*>(bitmap->atlas)->bindCount, 1);
}

}  // namespace
