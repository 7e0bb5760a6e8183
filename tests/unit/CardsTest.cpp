// Cards, dealing and the table layout.
#include "Card.h"
#include "CardLayout.h"
#include "UnitDoubles.h"
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace OstrelTest;

TEST(CardLayout, GridAndCardSizeFollowTheWindow) {
    struct Row {
        int cards, width, height;
        const char* grid;  // columns, rows, size, gaps; then the first card
    };
    const Row rows[] = {
        {12, 800, 600, "4x3 128 32,32 at 96,76"},  {16, 800, 600, "4x4 128 32,16 at 96,20"},
        {20, 800, 600, "5x4 128 30,16 at 20,20"},  {12, 600, 800, "3x4 128 32,32 at 76,96"},
        {12, 100, 100, "3x4 8 2,2 at 36,31"},      {12, 30, 30, "3x4 0 0,0 at 15,15"},  // halving stops at 0
        {2, 800, 600, "2x1 256 64,64 at 112,172"},                                      // one row: a quarter-card gap
    };
    for (const Row& row : rows) {
        std::vector<Card> cards(size_t(row.cards));
        const CardLayout::Grid g = CardLayout::Arrange(cards, row.width, row.height, 256);
        const auto n = [](int v) { return std::to_string(v); };
        EXPECT_EQ(n(g.columns) + "x" + n(g.rows) + " " + n(g.size) + " " + n(g.gapX) + "," + n(g.gapY) + " at " +
                      n(cards[0].x) + "," + n(cards[0].y),
                  row.grid);
        EXPECT_EQ(cards[1].x - cards[0].x, g.size + g.gapX);  // row by row
        EXPECT_EQ(cards.back().y, cards[0].y + (g.rows - 1) * (g.size + g.gapY));
    }
}

TEST(CardLayout, DealGivesEveryPairItsOwnPictureUnlessTooFew) {
    std::vector<std::string> names;
    for (int i = 0; i < 14; ++i) names.push_back("texture_" + std::to_string(i));
    for (size_t pictures : {size_t(14), size_t(2)}) {
        std::vector<Card> cards(20);
        const std::string err = Stderr([&] { CardLayout::Deal(cards, {names.begin(), names.begin() + pictures}); });
        EXPECT_EQ(Lines(err), pictures < 10 ? 1 : 0) << err;
        std::map<int, std::set<std::string>> pairs;
        std::map<int, int> sizes;
        std::set<std::string> distinct;
        for (const Card& card : cards) {
            ++sizes[card.pairId];
            pairs[card.pairId].insert(card.frontTexture);
            distinct.insert(card.frontTexture + card.backTexture);
        }
        EXPECT_EQ(sizes,
                  (std::map<int, int>{{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}, {6, 2}, {7, 2}, {8, 2}, {9, 2}}));
        for (const auto& [id, faces] : pairs) EXPECT_EQ(faces.size(), 1u) << id;
        EXPECT_EQ(distinct.size(), std::min(pictures, size_t(10)));
    }
}

TEST(Card, TurnsPlayTheSoundAnimateAndDrawTheVisibleSide) {
    ScreenBed bed;
    ITexture2D* back = bed.textures.LoadTexture("back.png", "card");
    ITexture2D* front = bed.textures.LoadTexture("a.png", "texture_0");
    Card card;
    card.soundManager = &bed.sounds;
    card.textureManager = &bed.textures;
    card.frontTexture = "texture_0";
    card.backTexture = "card";
    card.flipSpeed = 0.01f;
    card.LoadSound();
    card.Hide();
    card.UpdateFlip(100.0f);
    card.Render(&bed.sprites);
    card.UpdateFlip(300.0f);  // past the half turn: done
    EXPECT_FALSE(card.flipping);
    card.Reveal();
    card.Reveal();
    EXPECT_EQ(bed.sounds.sounds["card_sound"].plays, 1);
    card.RenderTinted(&bed.sprites, {1, 0, 0, 1});
    card.frontTexture = "nothing";  // a key without a texture draws nothing
    card.Render(&bed.sprites);
    const std::vector<SpriteCall>& draws = bed.sprites.draws;
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_TRUE(draws[0].texture == back && draws[0].angle == 1.0f);
    EXPECT_TRUE(draws[1].texture == front && draws[1].tint.y == 0.0f && draws[1].angle == 0);
    card.flipSpeed = 0.0f;  // a speed that never turns ends at once
    card.Hide();
    card.UpdateFlip(16.0f);
    EXPECT_FALSE(card.flipping);
}
