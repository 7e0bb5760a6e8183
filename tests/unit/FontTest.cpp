// Font records and the font manager's ownership, with recording doubles in
// place of GL textures and picture decoding.
#include "RecordingImageLoader.h"
#include "RecordingTextureManager.h"
#include "core/FileReader.h"
#include "gl/Font.h"
#include "gl/FontManager.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

using Ostrel::Character;
using Ostrel::Font;
using Ostrel::FontManager;
using OstrelTest::RecordingImageLoader;
using OstrelTest::RecordingTextureManager;

const char* const kDefaultFontPath = "assets/game/fonts/ThaleahFat.ttf";

Character Glyph(Ostrel::ITexture2D* texture, int advance) {
    Character glyph;
    glyph.texture = texture;
    glyph.size = Ostrel::ivec2(3, 4);
    glyph.advance[0] = static_cast<uint32_t>(advance);
    return glyph;
}

TEST(FontTest, NewFontIsEmpty) {
    Font font(Ostrel::Bitmap);
    EXPECT_EQ(font.type, Ostrel::Bitmap);
    EXPECT_EQ(font.GetHeight(), 0);
    EXPECT_EQ(font.atlas, nullptr);
    EXPECT_EQ(font.state, Ostrel::LifecycleCreated);
    EXPECT_TRUE(font.characters.empty());
}

TEST(FontTest, LookupOfAnUnloadedCodeAddsOneAllZeroRecord) {
    Font font(Ostrel::TrueType);
    Character* first = font.GetCharacter('q');
    EXPECT_EQ(font.characters.size(), 1u);
    EXPECT_EQ(first->texture, nullptr);
    EXPECT_EQ(first->state, Ostrel::LifecycleCreated);
    EXPECT_EQ(first->size.x, 0);
    EXPECT_EQ(first->size.y, 0);
    EXPECT_EQ(first->bearing.x, 0);
    EXPECT_EQ(first->advance[0], 0u);
    EXPECT_EQ(first->advance[1], 0u);
    for (const auto& uv : first->uv) EXPECT_TRUE(uv.x == 0.0f && uv.y == 0.0f);
    EXPECT_EQ(font.GetCharacter('q'), first);
    EXPECT_EQ(font.GetOrCreateCharacter('q'), first);
    EXPECT_EQ(font.characters.size(), 1u);
    font.GetOrCreateCharacter(static_cast<char>(200));
    EXPECT_EQ(font.characters.size(), 2u);
}

TEST(FontTest, AddCharacterKeepsTheFirstRecord) {
    Font font(Ostrel::TrueType);
    font.AddCharacter('A', Glyph(nullptr, 640));
    font.AddCharacter('A', Glyph(nullptr, 128));
    EXPECT_EQ(font.GetCharacter('A')->advance[0], 640u);
    EXPECT_EQ(font.characters.size(), 1u);
}

TEST(FontTest, DestroyDeletesEachGlyphTextureOnceAndKeepsTheRecords) {
    RecordingTextureManager textures;
    std::vector<Ostrel::ITexture2D*> made;
    {
        Font font(Ostrel::TrueType);
        for (char code : {'a', 'b', 'c'}) {
            made.push_back(textures.CreateTexture(nullptr, 1, 1));
            font.AddCharacter(code, Glyph(made.back(), 64));
        }
        font.GetCharacter('z');  // a record without a texture
        font.Destroy();
        EXPECT_EQ(font.state, Ostrel::LifecycleReleased);
        EXPECT_EQ(font.characters.size(), 4u);
        for (const auto& entry : font.characters) EXPECT_EQ(entry.second.state, Ostrel::LifecycleReleased);
        EXPECT_EQ(textures.deleted.size(), 3u);
        font.Destroy();
        EXPECT_EQ(textures.deleted.size(), 3u);
    }  // the destructor after Destroy deletes nothing more
    for (auto* texture : made) EXPECT_EQ(textures.DeleteCount(texture), 1);
    EXPECT_EQ(textures.deleted.size(), 3u);
}

TEST(FontTest, DestructorAloneDeletesGlyphTexturesAndAtlas) {
    RecordingTextureManager textures;
    auto* font = new Font(Ostrel::Bitmap);
    Ostrel::ITexture2D* glyphTexture = textures.CreateTexture(nullptr, 1, 1);
    font->AddCharacter('a', Glyph(glyphTexture, 5));
    font->atlas = textures.CreateTexture(nullptr, 8, 8);
    Ostrel::ITexture2D* atlas = font->atlas;
    delete font;
    EXPECT_EQ(textures.DeleteCount(glyphTexture), 1);
    EXPECT_EQ(textures.DeleteCount(atlas), 1);
}

TEST(FontTest, CharacterDestroyDeletesItsTextureOnce) {
    RecordingTextureManager textures;
    Ostrel::ITexture2D* texture = textures.CreateTexture(nullptr, 1, 1);
    Character glyph = Glyph(texture, 1);
    glyph.Destroy();
    glyph.Destroy();
    EXPECT_EQ(glyph.state, Ostrel::LifecycleReleased);
    EXPECT_EQ(textures.DeleteCount(texture), 1);
}

class FontManagerTest : public ::testing::Test {
protected:
    RecordingImageLoader images;
    RecordingTextureManager textures;
    Ostrel::FileReader reader;

    std::string WriteDescription(const std::string& text) {
        const std::string path = ::testing::TempDir() + "font_manager_description.csv";
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
};

TEST_F(FontManagerTest, SecondLoadUnderOnePathIsReturnedButNotKept) {
    FontManager manager(&textures, &images, &reader);
    images.AddPicture("atlas.png", 64, 64);
    const std::string description = WriteDescription("Font Height,16\nCell Width,8\nCell Height,8\n");
    Font* first = manager.LoadBitmapFont("atlas.png", description);
    Font* second = manager.LoadBitmapFont("atlas.png", description);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(second->height, 16);  // a complete font all the same
    ASSERT_EQ(manager.fonts.size(), 1u);
    EXPECT_EQ(manager.fonts.at("atlas.png"), first);

    const Ostrel::ITexture2D* firstAtlas = first->atlas;
    const Ostrel::ITexture2D* secondAtlas = second->atlas;
    manager.UnloadAll();
    EXPECT_TRUE(manager.fonts.empty());
    EXPECT_EQ(textures.DeleteCount(firstAtlas), 1);
    EXPECT_EQ(textures.DeleteCount(secondAtlas), 0);
    delete second;  // the caller's
    EXPECT_EQ(textures.DeleteCount(secondAtlas), 1);
}

TEST_F(FontManagerTest, ShutdownOrderDeletesEveryStoredFontOnce) {
    FontManager manager(&textures, &images, &reader);
    const std::string description = WriteDescription("Font Height,16\n");
    manager.LoadBitmapFont("one.png", description);
    manager.LoadBitmapFont("two.png", description);
    ::testing::internal::CaptureStdout();
    manager.LoadFont("missing.ttf", 20);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "ERROR::FREETYPE: Failed to load font\n");
    ASSERT_EQ(manager.fonts.size(), 3u);
    ASSERT_EQ(textures.created.size(), 2u);  // two atlases; the missing TrueType file made no glyphs

    manager.UnloadAll();
    manager.Destroy();
    EXPECT_EQ(manager.state, Ostrel::LifecycleReleased);
    for (auto* texture : textures.created) EXPECT_EQ(textures.DeleteCount(texture), 1);
    manager.Destroy();
    EXPECT_EQ(textures.deleted.size(), 2u);
}

TEST_F(FontManagerTest, DestroyWithoutUnloadAllStillReleasesFonts) {
    FontManager manager(&textures, &images, &reader);
    manager.LoadBitmapFont("one.png", WriteDescription("Font Height,16\n"));
    manager.Destroy();
    EXPECT_TRUE(manager.fonts.empty());
    ASSERT_EQ(textures.created.size(), 1u);
    EXPECT_EQ(textures.DeleteCount(textures.created[0]), 1);
}

TEST_F(FontManagerTest, LoadFontOfAMissingFileStoresAnEmptyFont) {
    FontManager manager(&textures, &images, &reader);
    ::testing::internal::CaptureStdout();
    Font* font = manager.LoadFont("assets/game/fonts/none.ttf", 30);
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "ERROR::FREETYPE: Failed to load font\n");
    EXPECT_EQ(manager.fonts.at("assets/game/fonts/none.ttf"), font);
    EXPECT_EQ(font->height, 30);
    EXPECT_EQ(font->type, Ostrel::TrueType);
    EXPECT_TRUE(font->characters.empty());
    manager.Destroy();
}

TEST_F(FontManagerTest, InitializeLoadsTheDefaultFontAt48Pixels) {
    FontManager manager(&textures, &images, &reader);
    EXPECT_EQ(manager.defaultFont, nullptr);
    manager.Initialize();
    EXPECT_EQ(manager.state, Ostrel::LifecycleInitialised);
    ASSERT_NE(manager.defaultFont, nullptr);
    EXPECT_EQ(manager.fonts.at(kDefaultFontPath), manager.defaultFont);
    EXPECT_EQ(manager.defaultFont->height, 48);
    EXPECT_EQ(manager.defaultFont->type, Ostrel::TrueType);
    EXPECT_EQ(manager.defaultFont->characters.size(), 128u);
    EXPECT_EQ(textures.created.size(), 128u);
    manager.UnloadAll();
    manager.Destroy();
    for (auto* texture : textures.created) EXPECT_EQ(textures.DeleteCount(texture), 1);
}

}  // namespace
