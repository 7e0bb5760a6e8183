// Cards, dealing and the table layout.
#include "CardLayout.h"
#include "UnitDoubles.h"

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
        std::map<int, std::multiset<std::string>> pairs;  // pair id: the faces of its cards
        for (const Card& card : cards) pairs[card.pairId].insert(card.frontTexture);
        std::set<std::string> distinct;
        for (const auto& [id, faces] : pairs) {
            EXPECT_TRUE(faces.size() == 2 && faces.count(*faces.begin()) == 2 && id >= 0 && id < 10) << id;
            distinct.insert(*faces.begin());
        }
        EXPECT_EQ(pairs.size() * 100 + distinct.size(), 1000 + std::min(pictures, size_t(10)));
    }
}

// Drawing, sounds and matching are seen through the card table (ScreensTest).
TEST(Card, AFlipEndsPastAHalfTurnOrAtOnceWhenItCannotTurn) {
    Card card;
    card.flipSpeed = 0.01f;
    card.Hide();
    card.UpdateFlip(300.0f);
    const std::string turning = std::to_string(card.flipping) + " " + std::to_string(card.flipAngle);
    card.UpdateFlip(15.0f);  // past 3.1416
    const std::string done = std::to_string(card.flipping) + " " + std::to_string(card.flipAngle);
    card.flipSpeed = 0.0f;
    card.Reveal();
    card.UpdateFlip(16.0f);
    EXPECT_EQ(turning + " | " + done + " | " + std::to_string(card.flipping), "1 3.000000 | 0 0.000000 | 0");
}
