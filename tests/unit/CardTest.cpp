// One card: turning rules, the card sound, the flip animation and what it
// draws (recording sprite renderer, texture and sound managers; no GL).
#include "Card.h"

#include "FixedSizeRenderer.h"
#include "RecordingSoundManager.h"
#include "RecordingSpriteRenderer.h"
#include "RecordingTextureManager.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class CardTest : public ::testing::Test {
protected:
    OstrelTest::FixedSizeRenderer renderer{800, 600};
    OstrelTest::RecordingSpriteRenderer sprites{&renderer};
    OstrelTest::RecordingTextureManager textures;
    OstrelTest::RecordingSoundManager sounds;
    Card card;

    void SetUp() override {
        sounds.LoadSound("card.wav", "card_sound");
        textures.LoadTexture("back.png", "card");
        textures.LoadTexture("fox.png", "texture_3");
        card.textureManager = &textures;
        card.soundManager = &sounds;
        card.backTexture = "card";
        card.frontTexture = "texture_3";
        card.x = 10;
        card.y = 20;
        card.w = card.h = 128;
        card.LoadSound();
    }

    int Plays() const { return sounds.PlayCount("card_sound"); }
};

TEST_F(CardTest, RevealAndHideTurnOnlyFromTheOtherSideAndRevealPlaysOnce) {
    card.Reveal();  // already face up: nothing
    EXPECT_FALSE(card.flipping);
    EXPECT_EQ(Plays(), 0);

    card.Hide();
    EXPECT_TRUE(card.faceDown);
    EXPECT_EQ(Plays(), 0) << "hiding is silent";
    card.UpdateFlip(10000.0f);  // let the flip finish
    ASSERT_FALSE(card.flipping);
    card.Hide();  // already face down: nothing
    EXPECT_TRUE(card.faceDown);
    EXPECT_FALSE(card.flipping);

    card.Reveal();
    EXPECT_FALSE(card.faceDown);
    EXPECT_TRUE(card.flipping);
    EXPECT_EQ(Plays(), 1);
    card.Reveal();
    EXPECT_EQ(Plays(), 1);
    EXPECT_FALSE(card.faceDown);
}

TEST_F(CardTest, RevealWithoutLoadedSoundTurnsSilently) {
    OstrelTest::RecordingSoundManager silent;  // no "card_sound" loaded
    card.soundManager = &silent;
    card.LoadSound();
    EXPECT_EQ(card.sound, nullptr);
    card.Hide();
    card.Reveal();
    EXPECT_FALSE(card.faceDown);
    EXPECT_TRUE(card.flipping);
}

TEST_F(CardTest, FlipEndsJustPastHalfTurn) {
    card.flipSpeed = 1.0f;
    card.Hide();
    card.UpdateFlip(3.0f);
    EXPECT_TRUE(card.flipping);
    EXPECT_FLOAT_EQ(card.flipAngle, 3.0f);

    // Landing exactly on 3.141592 is not past it.
    card.flipAngle = 0.0f;
    card.UpdateFlip(3.141592f);
    EXPECT_TRUE(card.flipping);
    EXPECT_EQ(card.flipAngle, 3.141592f);

    card.UpdateFlip(0.00001f);
    EXPECT_FALSE(card.flipping);
    EXPECT_EQ(card.flipAngle, 0.0f);

    // Without a running flip the angle stays.
    card.flipAngle = 1.25f;
    card.UpdateFlip(500.0f);
    EXPECT_EQ(card.flipAngle, 1.25f);
}

TEST_F(CardTest, FlipAtDefaultSpeedLastsAbout79Ms) {
    EXPECT_FLOAT_EQ(Card().flipSpeed, 0.04f);
    card.flipSpeed = 0.04f;
    card.Hide();
    int frames = 0;
    for (; card.flipping && frames < 1000; ++frames) card.UpdateFlip(1.0f);
    EXPECT_EQ(frames, 79);
}

TEST_F(CardTest, TurnDuringRunningFlipContinuesFromCurrentAngle) {
    card.flipSpeed = 0.01f;
    card.Hide();
    card.UpdateFlip(100.0f);
    ASSERT_NEAR(card.flipAngle, 1.0f, 1e-5f);
    card.Reveal();
    EXPECT_NEAR(card.flipAngle, 1.0f, 1e-5f);
    EXPECT_FALSE(card.faceDown);
    card.UpdateFlip(100.0f);
    EXPECT_NEAR(card.flipAngle, 2.0f, 1e-5f);
    EXPECT_TRUE(card.flipping);
}

TEST_F(CardTest, FlipThatCannotAdvanceEnds) {
    for (float speed : {0.0f, -0.02f}) {
        SCOPED_TRACE(speed);
        card.flipSpeed = speed;
        card.faceDown ? card.Reveal() : card.Hide();
        card.UpdateFlip(16.0f);
        EXPECT_FALSE(card.flipping);
        EXPECT_EQ(card.flipAngle, 0.0f);
    }
}

TEST_F(CardTest, LoadSoundResetsToShownState) {
    card.Hide();
    card.matched = true;
    card.flipAngle = 2.0f;
    card.LoadSound();
    EXPECT_FALSE(card.faceDown);
    EXPECT_FALSE(card.matched);
    EXPECT_FALSE(card.flipping);
    EXPECT_EQ(card.flipAngle, 0.0f);
    EXPECT_EQ(card.sound, sounds.GetSound("card_sound"));
}

TEST_F(CardTest, RenderDrawsVisibleFaceWithAngleAboutVerticalAxis) {
    card.flipSpeed = 0.01f;
    card.Hide();
    card.UpdateFlip(50.0f);
    card.Render(&sprites);
    ASSERT_EQ(sprites.draws.size(), 1u);
    const auto& back = sprites.draws[0];
    EXPECT_EQ(back.texture, textures.GetTexture("card"));
    EXPECT_EQ(back.rect.x, 10);
    EXPECT_EQ(back.rect.y, 20);
    EXPECT_EQ(back.rect.z, 128);
    EXPECT_EQ(back.rect.w, 128);
    EXPECT_EQ(back.axis.x, 0.0f);
    EXPECT_EQ(back.axis.y, 1.0f);
    EXPECT_EQ(back.axis.z, 0.0f);
    EXPECT_NEAR(back.angle, 0.5f, 1e-6f);
    EXPECT_EQ(back.tint.x, 1.0f);
    EXPECT_EQ(back.tint.w, 1.0f);

    card.Reveal();
    card.RenderTinted(&sprites, Ostrel::vec4(1.2f, 1.2f, 1.2f, 0.5f));
    ASSERT_EQ(sprites.draws.size(), 2u);
    EXPECT_EQ(sprites.draws[1].texture, textures.GetTexture("texture_3"));
    EXPECT_FLOAT_EQ(sprites.draws[1].tint.x, 1.2f);
    EXPECT_FLOAT_EQ(sprites.draws[1].tint.w, 0.5f);
}

TEST_F(CardTest, RenderLooksTextureUpAnewEachTime) {
    card.Render(&sprites);
    // The editor replaces the picture under the same key; mark the new one by
    // its filter, since the allocator may reuse the old address.
    textures.LoadTexture("other.png", "texture_3", Ostrel::TextureParameters(7));
    card.Render(&sprites);
    ASSERT_EQ(sprites.draws.size(), 2u);
    auto* drawn = static_cast<OstrelTest::RecordingTexture*>(sprites.draws.back().texture);
    EXPECT_EQ(drawn, textures.GetTexture("texture_3"));
    EXPECT_EQ(drawn->params.filter, 7);

    card.frontTexture = "texture_13";  // never loaded: nothing drawn
    card.Render(&sprites);
    card.RenderTinted(&sprites, Ostrel::vec4(1, 1, 1, 1));
    EXPECT_EQ(sprites.draws.size(), 2u);
}

TEST_F(CardTest, ContainsUsesHalfOpenRectangle) {
    EXPECT_TRUE(card.Contains(10, 20));
    EXPECT_TRUE(card.Contains(137, 147));
    EXPECT_FALSE(card.Contains(138, 50));
    EXPECT_FALSE(card.Contains(50, 148));
    EXPECT_FALSE(card.Contains(9, 50));
    EXPECT_FALSE(card.Contains(50, 19));
}

}  // namespace
