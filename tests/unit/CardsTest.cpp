// Cards, dealing and the table layout.
#include "CardLayout.h"
#include "UnitDoubles.h"

using namespace OstrelTest;

TEST(CardLayout, GridAndCardSizeFollowTheWindow) {
    // Cards, window width and height: columns, rows, card size, 0; the gaps and the first card's place.
    const std::tuple<int, int, int, const char*> rows[] = {
        {12, 800, 600, "4,3,128,0 32,32,96,76"},  {16, 800, 600, "4,4,128,0 32,16,96,20"},
        {20, 800, 600, "5,4,128,0 30,16,20,20"},  {12, 600, 800, "3,4,128,0 32,32,76,96"},
        {12, 100, 100, "3,4,8,0 2,2,36,31"},      {12, 30, 30, "3,4,0,0 0,0,15,15"},  // halving stops at 0
        {2, 800, 600, "2,1,256,0 64,64,112,172"},                                     // one row: a quarter-card gap
    };
    for (const auto& [count, width, height, grid] : rows) {
        std::vector<Card> cards(static_cast<size_t>(count));
        const CardLayout::Grid g = CardLayout::Arrange(cards, width, height, 256);
        EXPECT_EQ(Str({g.columns, g.rows, g.size, 0}) + " " + Str({g.gapX, g.gapY, cards[0].x, cards[0].y}), grid);
        EXPECT_EQ(cards[1].x - cards[0].x, g.size + g.gapX);  // row by row
        EXPECT_EQ(cards.back().y, cards[0].y + (g.rows - 1) * (g.size + g.gapY));
    }
}

TEST(CardLayout, DealGivesEveryPairItsOwnPictureUnlessTooFew) {
    std::vector<std::string> names;
    for (int i = 0; i < 14; ++i) names.push_back("texture_" + std::to_string(i));
    for (size_t pictures : {size_t(14), size_t(2)}) {
        std::vector<Card> cards(20);
        const std::string err = Captured([&] { CardLayout::Deal(cards, {names.begin(), names.begin() + pictures}); });
        EXPECT_EQ(Lines(err), pictures < 10 ? 1 : 0) << err;
        std::map<int, std::multiset<std::string>> pairs;  // pair id: the faces of its cards
        for (const Card& card : cards) pairs[card.pairId].insert(card.frontTexture);
        std::set<std::string> distinct;
        for (const auto& [id, faces] : pairs) {
            EXPECT_EQ(faces, std::multiset<std::string>({*faces.begin(), *faces.begin()})) << id;
            EXPECT_LT(unsigned(id), 10u);
            distinct.insert(*faces.begin());
        }
        EXPECT_EQ(pairs.size(), 10u);
        EXPECT_EQ(distinct.size(), std::min(pictures, size_t(10)));
    }
}

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

TEST(Card, AClickHitsItsFirstAndLastPixelRowsAndColumnsAndNothingOutside) {
    Card card;
    card.x = 10, card.y = 20, card.w = 30, card.h = 40;
    const std::tuple<int, int, bool> rows[] = {{10, 20, true}, {39, 59, true},  {39, 20, true},  {10, 59, true},
                                               {9, 30, false}, {40, 30, false}, {20, 19, false}, {20, 60, false}};
    for (auto [x, y, hit] : rows) EXPECT_EQ(card.Contains(x, y), hit) << x << "," << y;
}
