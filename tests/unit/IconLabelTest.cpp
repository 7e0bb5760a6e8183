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

    Ostrel::IconLabel Make(int fontHeight, float scale, Ostrel::ivec2 position, std::string caption = "Menu") {
        font.height = fontHeight;
        Ostrel::IconLabel label(&sprites, &text, &font, std::move(caption), &icon, position);
        label.scale = scale;
        return label;
    }
};

TEST_F(IconLabelTest, ConstructionDefaults) {
    Ostrel::IconLabel label(&sprites, &text, &font, "Select", &icon, Ostrel::ivec2(4, 5));
    EXPECT_EQ(label.caption, "Select");
    EXPECT_EQ(label.icon, &icon);
    EXPECT_EQ(label.scale, 1.0f);
    EXPECT_EQ(label.iconOffset.x, 0);
    EXPECT_EQ(label.iconOffset.y, 0);
    EXPECT_EQ(label.position.x, 4);
    EXPECT_EQ(label.position.y, 5);
    EXPECT_EQ(label.colour.x, 1.0f);
    EXPECT_EQ(label.colour.w, 1.0f);
}

TEST_F(IconLabelTest, Height16AtHalfScaleGivesAn8PixelIconAndCaptionAt13) {
    Ostrel::IconLabel label = Make(16, 0.5f, Ostrel::ivec2(275, 400));
    label.Render();

    ASSERT_EQ(sprites.draws.size(), 1u);
    const auto& sprite = sprites.draws[0];
    EXPECT_EQ(sprite.form, OstrelTest::RecordingSpriteRenderer::Form::Rect);
    EXPECT_EQ(sprite.texture, &icon);
    EXPECT_EQ(sprite.rect.x, 275);
    EXPECT_EQ(sprite.rect.y, 400);
    EXPECT_EQ(sprite.rect.z, 8);
    EXPECT_EQ(sprite.rect.w, 8);

    ASSERT_EQ(text.draws.size(), 1u);
    const auto& caption = text.draws[0];
    EXPECT_EQ(caption.text, "Menu");
    EXPECT_EQ(caption.font, &font);
    EXPECT_FLOAT_EQ(caption.position.x, 275.0f + 13.0f);
    EXPECT_FLOAT_EQ(caption.position.y, 400.0f);
    EXPECT_EQ(caption.scale, 0.5f);

    // Each part in its own alpha-blended batch, icon first.
    EXPECT_EQ(journal, (std::vector<std::string>{"sprite.Begin(0)", "sprite.DrawSprite", "sprite.End()",
                                                 "text.Begin(0)", "text.DrawText(Menu)", "text.End()"}));
}

TEST_F(IconLabelTest, OddHeightTruncatesTheIconButNotTheCaptionOffset) {
    Ostrel::IconLabel label = Make(15, 0.5f, Ostrel::ivec2(10, 20));
    label.Render();
    ASSERT_EQ(sprites.draws.size(), 1u);
    EXPECT_EQ(sprites.draws[0].rect.z, 7);
    EXPECT_EQ(sprites.draws[0].rect.w, 7);
    ASSERT_EQ(text.draws.size(), 1u);
    EXPECT_FLOAT_EQ(text.draws[0].position.x, 10.0f + 12.5f);
}

TEST_F(IconLabelTest, IconOffsetMovesOnlyTheIcon) {
    Ostrel::IconLabel label = Make(48, 0.5f, Ostrel::ivec2(395, 400));
    label.iconOffset = Ostrel::ivec2(-3, 10);
    label.colour = Ostrel::vec4(0.2f, 0.4f, 0.6f, 0.8f);
    label.Render();

    ASSERT_EQ(sprites.draws.size(), 1u);
    EXPECT_EQ(sprites.draws[0].rect.x, 392);
    EXPECT_EQ(sprites.draws[0].rect.y, 410);
    EXPECT_EQ(sprites.draws[0].rect.z, 24);
    ASSERT_EQ(text.draws.size(), 1u);
    EXPECT_FLOAT_EQ(text.draws[0].position.x, 395.0f + 24.0f + 5.0f);
    EXPECT_FLOAT_EQ(text.draws[0].position.y, 400.0f);
    EXPECT_EQ(text.draws[0].colour.x, 0.2f);
    EXPECT_EQ(text.draws[0].colour.w, 0.8f);
}

TEST_F(IconLabelTest, PositionWrittenAfterConstructionIsUsedAtRender) {
    Ostrel::IconLabel label = Make(32, 2.0f, Ostrel::ivec2(0, 0));
    label.position = Ostrel::ivec2(515, 460);
    label.Render();
    ASSERT_EQ(sprites.draws.size(), 1u);
    EXPECT_EQ(sprites.draws[0].rect.x, 515);
    EXPECT_EQ(sprites.draws[0].rect.z, 64);
    EXPECT_FLOAT_EQ(text.draws[0].position.x, 515.0f + 64.0f + 5.0f);
    EXPECT_EQ(text.draws[0].scale, 2.0f);
}

TEST_F(IconLabelTest, EmptyCaptionStillDrawsTheIconAndOpensTheTextBatch) {
    Ostrel::IconLabel label = Make(16, 1.0f, Ostrel::ivec2(1, 2), "");
    label.Render();
    EXPECT_EQ(sprites.draws.size(), 1u);
    EXPECT_EQ(text.begins, (std::vector<int>{0}));
    EXPECT_EQ(text.ends, 1);
    ASSERT_EQ(text.draws.size(), 1u);
    EXPECT_EQ(text.draws[0].text, "");
}

}  // namespace
