// Cards, dealing and the table layout.
#include "Card.h"
#include "CardLayout.h"
#include "UnitDoubles.h"
#include <gtest/gtest.h>
#include <map>
#include <set>

TEST(CardLayout, GridAndCardSizeFollowTheWindow) {
    struct Row {
        int cards, width, height, start;
        CardLayout::Grid grid;
        int x, y;  // the first card
    };
    const Row rows[] = {
        {12, 800, 600, 256, {4, 3, 128, 32, 32}, 96, 76},  {16, 800, 600, 256, {4, 4, 128, 32, 16}, 96, 20},
        {20, 800, 600, 256, {5, 4, 128, 30, 16}, 20, 20},  {12, 600, 800, 256, {3, 4, 128, 32, 32}, 76, 96},
        {12, 100, 100, 256, {3, 4, 8, 2, 2}, 36, 31},      {12, 30, 30, 256, {3, 4, 0, 0, 0}, 15, 15},
        {2, 800, 600, 256, {2, 1, 256, 64, 64}, 112, 172},  // one row: a quarter-card gap
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.cards) + " cards in " + std::to_string(row.width) + "x" +
                     std::to_string(row.height));
        std::vector<Card> cards(size_t(row.cards));
        const CardLayout::Grid g = CardLayout::Arrange(cards, row.width, row.height, row.start);
        EXPECT_EQ(std::vector<int>({g.columns, g.rows, g.size, g.gapX, g.gapY}),
                  std::vector<int>({row.grid.columns, row.grid.rows, row.grid.size, row.grid.gapX, row.grid.gapY}));
        EXPECT_EQ(OstrelTest::Str(cards[0].Rect()), OstrelTest::Str({row.x, row.y, g.size, g.size}));
        // Row by row in vector order.
        if (g.columns > 1) EXPECT_EQ(cards[1].x, row.x + g.size + g.gapX);
        if (g.rows > 1) EXPECT_EQ(cards[size_t(g.columns)].y, row.y + g.size + g.gapY);
    }
}

TEST(CardLayout, DealGivesEveryPairItsOwnPictureUnlessTooFew) {
    std::vector<std::string> names;
    for (int i = 0; i < 14; ++i) names.push_back("texture_" + std::to_string(i));
    for (size_t pictures : {size_t(14), size_t(2)}) {
        std::vector<Card> cards(20);
        const std::string err = OstrelTest::Stderr(
            [&] { CardLayout::Deal(cards, std::vector<std::string>(names.begin(), names.begin() + pictures)); });
        std::map<int, std::vector<std::string>> pairs;
        for (const Card& card : cards) {
            pairs[card.pairId].push_back(card.frontTexture);
            EXPECT_EQ(card.backTexture, "card");
        }
        ASSERT_EQ(pairs.size(), 10u);
        std::set<std::string> distinct;
        for (const auto& [id, faces] : pairs) {
            ASSERT_EQ(faces.size(), 2u) << id;
            EXPECT_EQ(faces[0], faces[1]);
            distinct.insert(faces[0]);
        }
        EXPECT_EQ(distinct.size(), std::min(pictures, size_t(10)));
        EXPECT_EQ(OstrelTest::Lines(err), pictures < 10 ? 1 : 0) << err;
    }
}

TEST(Card, TurnsPlaySoundAnimateAndDrawTheVisibleSide) {
    OstrelTest::SoundRecorder sounds;
    sounds.LoadSound("card.wav", "card_sound");
    OstrelTest::TextureRecorder textures;
    Ostrel::ITexture2D* back = textures.LoadTexture("back.png", "card");
    Ostrel::ITexture2D* front = textures.LoadTexture("a.png", "texture_0");
    OstrelTest::SizedRenderer target(800, 600);
    OstrelTest::SpriteRecorder sprites(&target);
    Card card;
    card.soundManager = &sounds;
    card.textureManager = &textures;
    card.frontTexture = "texture_0";
    card.backTexture = "card";
    card.flipSpeed = 0.01f;
    card.LoadSound();
    card.Hide();
    EXPECT_TRUE(card.faceDown && card.flipping);
    card.UpdateFlip(100.0f);
    EXPECT_FLOAT_EQ(card.flipAngle, 1.0f);
    card.Render(&sprites);
    card.UpdateFlip(300.0f);  // past the half turn: done
    EXPECT_FALSE(card.flipping);
    EXPECT_EQ(card.flipAngle, 0.0f);
    card.Reveal();
    card.Reveal();
    EXPECT_EQ(sounds.Plays("card_sound"), 1);
    card.RenderTinted(&sprites, {1, 0, 0, 1});
    ASSERT_EQ(sprites.draws.size(), 2u);
    EXPECT_EQ(sprites.draws[0].texture, back);
    EXPECT_FLOAT_EQ(sprites.draws[0].angle, 1.0f);
    EXPECT_EQ(sprites.draws[1].texture, front);
    EXPECT_EQ(sprites.draws[1].tint.y, 0.0f);
    card.frontTexture = "nothing";
    card.Render(&sprites);
    EXPECT_EQ(sprites.draws.size(), 2u);  // a key without a texture draws nothing
    card.flipSpeed = 0.0f;                // a speed that never turns ends at once
    card.Hide();
    card.UpdateFlip(16.0f);
    EXPECT_FALSE(card.flipping);
}
