// Text layout on fonts that are missing or carry absurd numbers (a bitmap
// font description may say anything): the menu and the icon label measure
// such fonts without overflowing or dereferencing null, and stay usable.
#include "FixedSizeRenderer.h"
#include "RecordingSpriteRenderer.h"
#include "RecordingTextRenderer.h"
#include "RecordingTexture.h"

#include "components/IconLabel.h"
#include "components/MenuComponent.h"
#include "core/EventBuffer.h"
#include "gl/Font.h"
#include "sdl/SDLInputManager.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

namespace {

using Ostrel::MenuComponent;

class BadFontInput : public ::testing::Test {
protected:
    Ostrel::EventBuffer events;
    Ostrel::SDLInputManager input{&events};
    OstrelTest::FixedSizeRenderer target{800, 600};
    OstrelTest::RecordingTextRenderer text{&target};
    OstrelTest::RecordingSpriteRenderer sprites{&target};
    OstrelTest::RecordingTexture icon{nullptr, 16, 16, Ostrel::TextureParameters(0), 4};

    // A bitmap font as a description would leave it: every printable code with
    // the given advance.
    static void Describe(Ostrel::Font& font, int32_t height, int32_t advance) {
        font.height = height;
        for (int c = 32; c < 127; ++c) {
            font.GetOrCreateCharacter(static_cast<char>(c))->advance[0] = static_cast<uint32_t>(advance);
        }
    }

    // The game's menu: five entries, the last opening nothing.
    MenuComponent* Menu(Ostrel::Font* font, float scale) {
        auto* root = new MenuComponent(&input, &text, font);
        for (const char* label : {"Continue", "New Game", "Options", "Credits", "Quit Game"}) root->AddEntry(label, {});
        root->Initialize();
        root->SetScale(scale);
        root->Open();
        return root;
    }
};

TEST_F(BadFontInput, MenuWithoutFontLaysOutEmptyLinesAndDraws) {
    MenuComponent* root = Menu(nullptr, 0.5f);
    root->Layout();
    for (const MenuComponent* entry : root->children) {
        EXPECT_EQ(entry->hitRect.z, 0);
        EXPECT_EQ(entry->hitRect.w, 0);
        EXPECT_EQ(entry->hitRect.x, 400);  // centred: no width to move it
    }
    // Five lines of no height, 10 pixels apart, centred on the window.
    EXPECT_EQ(root->children[0]->hitRect.y, 300 - 25);
    EXPECT_EQ(root->children[4]->hitRect.y, 300 - 25 + 40);
    root->Update(16.0f);
    root->Draw();
    EXPECT_EQ(text.draws.size(), 5u);
    delete root;
}

// Extreme heights and advances: positions stay ordered and within 32 bits.
TEST_F(BadFontInput, MenuOnAbsurdFontNumbersKeepsLinesInOrder) {
    struct Numbers {
        int32_t height;
        int32_t advance;
        float scale;
    };
    for (const Numbers& n :
         {Numbers{INT32_MAX, 16, 0.5f}, Numbers{INT32_MIN, 16, 0.5f}, Numbers{INT32_MAX, 16, 4.0f},
          Numbers{32, INT32_MAX, 0.5f}, Numbers{32, INT32_MIN, 2.0f}, Numbers{INT32_MAX, INT32_MAX, 1.0f}}) {
        SCOPED_TRACE("height " + std::to_string(n.height) + " advance " + std::to_string(n.advance) + " scale " +
                     std::to_string(n.scale));
        Ostrel::Font font{Ostrel::Bitmap};
        Describe(font, n.height, n.advance);
        MenuComponent* root = Menu(&font, n.scale);
        root->Update(16.0f);
        const Ostrel::ivec4 first = root->children.front()->hitRect;
        const Ostrel::ivec4 last = root->children.back()->hitRect;
        // Lines go down the screen in entry order, however tall.
        EXPECT_LE(first.y, last.y);
        EXPECT_GE(first.w, 0);
        root->Draw();
        delete root;
    }
}

TEST_F(BadFontInput, MenuOnSaneFontIsUnchangedByTheLimits) {
    Ostrel::Font font{Ostrel::Bitmap};
    Describe(font, 32, 16);
    MenuComponent* root = Menu(&font, 0.5f);
    root->Layout();
    // "Continue": 8 glyphs of 16 x 0.5; lines of 16 plus a 10-pixel gap.
    EXPECT_EQ(root->children[0]->hitRect.z, 64);
    EXPECT_EQ(root->children[0]->hitRect.x, 400 - 32);
    EXPECT_EQ(root->children[0]->hitRect.w, 16);
    EXPECT_EQ(root->children[0]->hitRect.y, 300 - (26 * 5) / 2);
    EXPECT_EQ(root->children[1]->hitRect.y - root->children[0]->hitRect.y, 26);
    delete root;
}

TEST_F(BadFontInput, IconLabelWithoutFontDrawsAZeroSizeIcon) {
    Ostrel::IconLabel label(&sprites, &text, nullptr, "Menu", &icon, Ostrel::ivec2(10, 20));
    label.Render();
    ASSERT_EQ(sprites.draws.size(), 1u);
    EXPECT_EQ(sprites.draws[0].rect.z, 0);
    EXPECT_EQ(sprites.draws[0].rect.w, 0);
    ASSERT_EQ(text.draws.size(), 1u);  // the caption goes through; the text renderer skips a null font
}

TEST_F(BadFontInput, IconLabelOnAbsurdFontHeightKeepsAPositiveIcon) {
    Ostrel::Font font{Ostrel::Bitmap};
    Describe(font, INT32_MAX, 16);
    Ostrel::IconLabel label(&sprites, &text, &font, "Menu", &icon, Ostrel::ivec2(10, 20));
    label.scale = 4.0f;
    label.Render();
    ASSERT_EQ(sprites.draws.size(), 1u);
    EXPECT_GT(sprites.draws[0].rect.z, 0);
    EXPECT_EQ(sprites.draws[0].rect.z, sprites.draws[0].rect.w);
}

}  // namespace
