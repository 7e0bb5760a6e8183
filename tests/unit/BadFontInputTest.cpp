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

// Without a font: five lines of no size, 10 pixels apart, centred on the
// window. A sane font: "Continue" is 8 glyphs of 16 x 0.5, lines 16 + 10 apart.
TEST_F(BadFontInput, MenuWithoutFontOrOnSaneFontLaysOutAsMeasured) {
    Ostrel::Font sane{Ostrel::Bitmap};
    Describe(sane, 32, 16);
    for (Ostrel::Font* font : {static_cast<Ostrel::Font*>(nullptr), &sane}) {
        SCOPED_TRACE(font ? "sane font" : "no font");
        text.Clear();
        MenuComponent* root = Menu(font, 0.5f);
        root->Layout();
        const int w = font ? 64 : 0, h = font ? 16 : 0;
        const Ostrel::ivec4 r = root->children[0]->hitRect;
        EXPECT_TRUE(r.x == 400 - w / 2 && r.y == 300 - ((h + 10) * 5) / 2 && r.z == w && r.w == h)
            << r.x << "," << r.y << " " << r.z << "x" << r.w;
        EXPECT_EQ(root->children[4]->hitRect.y - r.y, 4 * (h + 10));
        for (const MenuComponent* e : root->children) {
            EXPECT_TRUE(font || (e->hitRect.x == 400 && e->hitRect.z == 0 && e->hitRect.w == 0)) << e->label;
        }
        root->Update(16.0f);
        root->Draw();
        EXPECT_EQ(text.draws.size(), 5u);
        delete root;
    }
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
        // Lines go down the screen in entry order, however tall.
        EXPECT_LE(root->children.front()->hitRect.y, root->children.back()->hitRect.y);
        EXPECT_GE(root->children.front()->hitRect.w, 0);
        root->Draw();
        delete root;
    }
}

// No font gives a zero-size icon; an absurd height a positive square one. The
// caption goes through either way (the text renderer skips a null font).
TEST_F(BadFontInput, IconLabelWithoutFontOrOnAbsurdHeightStaysDrawable) {
    Ostrel::Font absurd{Ostrel::Bitmap};
    Describe(absurd, INT32_MAX, 16);
    for (Ostrel::Font* font : {static_cast<Ostrel::Font*>(nullptr), &absurd}) {
        SCOPED_TRACE(font ? "absurd height" : "no font");
        sprites.draws.clear();
        text.Clear();
        Ostrel::IconLabel label(&sprites, &text, font, "Menu", &icon, Ostrel::ivec2(10, 20));
        label.scale = 4.0f;
        label.Render();
        ASSERT_EQ(sprites.draws.size(), 1u);
        ASSERT_EQ(text.draws.size(), 1u);
        const Ostrel::ivec4 r = sprites.draws[0].rect;
        EXPECT_EQ(r.z, r.w);
        EXPECT_TRUE(font ? r.z > 0 : r.z == 0) << r.z;
    }
}

}  // namespace
