// Icon label: icon size and caption position from the font height and scale,
// checked through recording sprite and text renderers.
#include "FixedSizeRenderer.h"
#include "RecordingSpriteRenderer.h"
#include "RecordingTextRenderer.h"
#include "RecordingTexture.h"

#include "components/IconLabel.h"
#include "gl/Font.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class IconLabelTest : public ::testing::Test {
protected:
    OstrelTest::FixedSizeRenderer target{800, 600};
    OstrelTest::RecordingSpriteRenderer sprites{&target};
    OstrelTest::RecordingTextRenderer text{&target};
    OstrelTest::RecordingTexture icon{nullptr, 16, 16, Ostrel::TextureParameters(0), 4};
    Ostrel::Font font{Ostrel::Bitmap};
    std::vector<std::string> journal;

    void SetUp() override {
        sprites.journal = &journal;
        text.journal = &journal;
    }
};

// The icon is trunc(h * s) square at the position plus the icon offset; the
// caption follows at position.x + h * s + 5, untouched by the icon offset.
TEST_F(IconLabelTest, IconSizeAndCaptionPositionFollowFontHeightAndScale) {
    struct Case {
        int fontHeight;
        float scale;
        Ostrel::ivec2 position, iconOffset;
        int iconSize;
        float captionX;
    };
    const Case cases[] = {
        {16, 0.5f, {275, 400}, {0, 0}, 8, 275.0f + 13.0f},
        {15, 0.5f, {10, 20}, {0, 0}, 7, 10.0f + 12.5f},  // the icon truncates, the caption offset does not
        {48, 0.5f, {395, 400}, {-3, 10}, 24, 395.0f + 24.0f + 5.0f},
        {32, 2.0f, {515, 460}, {0, 0}, 64, 515.0f + 64.0f + 5.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("height " + std::to_string(c.fontHeight) + " scale " + std::to_string(c.scale));
        sprites.draws.clear();
        text.Clear();
        journal.clear();
        font.height = c.fontHeight;
        // Written after construction: render uses the fields as they are then.
        Ostrel::IconLabel label(&sprites, &text, &font, "Menu", &icon, Ostrel::ivec2(0, 0));
        label.position = c.position;
        label.scale = c.scale;
        label.iconOffset = c.iconOffset;
        label.colour = Ostrel::vec4(0.2f, 0.4f, 0.6f, 0.8f);
        label.Render();

        ASSERT_EQ(sprites.draws.size(), 1u);
        const auto& sprite = sprites.draws[0];
        EXPECT_EQ(sprite.form, OstrelTest::RecordingSpriteRenderer::Form::Rect);
        EXPECT_EQ(sprite.texture, &icon);
        EXPECT_EQ(sprite.rect.x, c.position.x + c.iconOffset.x);
        EXPECT_EQ(sprite.rect.y, c.position.y + c.iconOffset.y);
        EXPECT_EQ(sprite.rect.z, c.iconSize);
        EXPECT_EQ(sprite.rect.w, c.iconSize);

        ASSERT_EQ(text.draws.size(), 1u);
        const auto& caption = text.draws[0];
        EXPECT_EQ(caption.text, "Menu");
        EXPECT_EQ(caption.font, &font);
        EXPECT_FLOAT_EQ(caption.position.x, c.captionX);
        EXPECT_FLOAT_EQ(caption.position.y, static_cast<float>(c.position.y));
        EXPECT_EQ(caption.scale, c.scale);
        EXPECT_EQ(caption.colour.x, 0.2f);
        EXPECT_EQ(caption.colour.w, 0.8f);
        // Each part in its own alpha-blended batch, icon first.
        EXPECT_EQ(journal, (std::vector<std::string>{"sprite.Begin(0)", "sprite.DrawSprite", "sprite.End()",
                                                     "text.Begin(0)", "text.DrawText(Menu)", "text.End()"}));
    }
}

TEST_F(IconLabelTest, EmptyCaptionStillDrawsTheIconAndOpensTheTextBatch) {
    font.height = 16;
    Ostrel::IconLabel label(&sprites, &text, &font, "", &icon, Ostrel::ivec2(1, 2));
    label.Render();
    EXPECT_EQ(sprites.draws.size(), 1u);
    EXPECT_EQ(text.begins, (std::vector<int>{0}));
    EXPECT_EQ(text.ends, 1);
    ASSERT_EQ(text.draws.size(), 1u);
    EXPECT_EQ(text.draws[0].text, "");
}

}  // namespace
