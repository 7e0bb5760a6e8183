// Dealing, the card grid and the pair queries, on plain card vectors.
#include "CardLayout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

std::vector<std::string> PictureKeys(int count = 14) {
    std::vector<std::string> keys;
    for (int i = 0; i < count; ++i) keys.push_back("texture_" + std::to_string(i));
    return keys;
}

struct Expected {
    int columns, rows, size, gapX, gapY, firstX, firstY, lastX, lastY;
};

void ExpectLayout(int cardCount, int width, int height, const Expected& e) {
    SCOPED_TRACE(std::to_string(cardCount) + " cards in " + std::to_string(width) + "x" + std::to_string(height));
    std::vector<Card> cards(static_cast<size_t>(cardCount));
    const CardLayout::Grid grid = CardLayout::Arrange(cards, width, height, 256);
    EXPECT_EQ(grid.columns, e.columns);
    EXPECT_EQ(grid.rows, e.rows);
    EXPECT_EQ(grid.size, e.size);
    EXPECT_EQ(grid.gapX, e.gapX);
    EXPECT_EQ(grid.gapY, e.gapY);
    EXPECT_EQ(cards.front().x, e.firstX);
    EXPECT_EQ(cards.front().y, e.firstY);
    EXPECT_EQ(cards.back().x, e.lastX);
    EXPECT_EQ(cards.back().y, e.lastY);
    for (const Card& card : cards) {
        EXPECT_EQ(card.w, e.size);
        EXPECT_EQ(card.h, e.size);
    }
    // Row-major: the next card is one step right, or the first of the next row.
    for (size_t i = 1; i < cards.size(); ++i) {
        if (i % static_cast<size_t>(e.columns) == 0) {
            EXPECT_EQ(cards[i].x, e.firstX);
            EXPECT_EQ(cards[i].y, cards[i - 1].y + e.size + e.gapY);
        } else {
            EXPECT_EQ(cards[i].x, cards[i - 1].x + e.size + e.gapX);
            EXPECT_EQ(cards[i].y, cards[i - 1].y);
        }
    }
}

TEST(CardGrid, FactorPairs) {
    // A tie such as (2, 3) and (3, 2) keeps the smaller d; no pair gives (10, 1).
    const int counts[][3] = {{12, 3, 4}, {16, 4, 4}, {20, 4, 5}, {6, 2, 3}, {13, 10, 1}, {0, 10, 1}};
    for (const auto& c : counts) EXPECT_EQ(CardLayout::FindGridFactors(c[0]), std::make_pair(c[1], c[2])) << c[0];
}

TEST(CardGrid, DeckSizesAndWindowShapes) {
    ExpectLayout(12, 800, 600, {4, 3, 128, 32, 32, 96, 76, 576, 396});
    ExpectLayout(16, 800, 600, {4, 4, 128, 32, 16, 96, 20, 576, 452});
    ExpectLayout(20, 800, 600, {5, 4, 128, 30, 16, 20, 20, 652, 452});
    // 1920 x 1080: 4 x 3 of 256 fit; the gaps are a quarter of the size.
    ExpectLayout(12, 1920, 1080, {4, 3, 256, 64, 64, 352, 92, 1312, 732});
    // Portrait stands the grid up, with gaps from the spare room.
    ExpectLayout(20, 600, 800, {4, 5, 128, 16, 30, 20, 20, 452, 652});
    std::vector<Card> cards(20);  // square counts as portrait
    const CardLayout::Grid grid = CardLayout::Arrange(cards, 600, 600, 256);
    EXPECT_EQ(grid.columns, 4);
    EXPECT_EQ(grid.rows, 5);
}

TEST(CardGrid, WindowsWhereNoSizeFitsEndWithZeroSizedCardsInside) {
    const std::pair<int, int> sizes[] = {{42, 42}, {40, 40}, {43, 41}, {0, 0}, {1, 1}, {39, 39}, {10, 600}, {800, 5}};
    for (const auto& size : sizes) {
        for (int count : {12, 16, 20}) {
            SCOPED_TRACE(std::to_string(count) + " in " + std::to_string(size.first) + "x" +
                         std::to_string(size.second));
            std::vector<Card> cards(static_cast<size_t>(count));
            const CardLayout::Grid grid = CardLayout::Arrange(cards, size.first, size.second, 256);
            EXPECT_EQ(grid.size, 0);
            const bool atLeastMargin = size.first >= 40 && size.second >= 40;
            for (const Card& card : cards) {
                EXPECT_GE(card.x, 0);
                EXPECT_GE(card.y, 0);
                EXPECT_LE(card.x, size.first);
                EXPECT_LE(card.y, size.second);
                if (!atLeastMargin) continue;  // from 40 x 40 on: at the centre, no gaps
                EXPECT_EQ(grid.gapX, 0);
                EXPECT_EQ(grid.gapY, 0);
                EXPECT_EQ(card.x, size.first / 2);
                EXPECT_EQ(card.y, size.second / 2);
                EXPECT_EQ(card.w, 0);
                EXPECT_EQ(card.h, 0);
            }
            EXPECT_GE(grid.gapX, 0);
            EXPECT_GE(grid.gapY, 0);
        }
    }
}

TEST(CardGrid, CardsNeverOverlapOrLeaveTheWindow) {
    for (int count : {12, 16, 20}) {
        for (int width = 40; width <= 2000; width += 97) {
            for (int height = 40; height <= 1200; height += 83) {
                std::vector<Card> cards(static_cast<size_t>(count));
                const CardLayout::Grid grid = CardLayout::Arrange(cards, width, height, 256);
                ASSERT_EQ(grid.columns * grid.rows, count);
                for (size_t i = 0; i < cards.size(); ++i) {
                    const Card& a = cards[i];
                    ASSERT_TRUE(a.x >= 0 && a.y >= 0 && a.x + a.w <= width && a.y + a.h <= height)
                        << width << "x" << height << " card " << i;
                    if (i + 1 < cards.size() && grid.size > 0) {
                        const Card& b = cards[i + 1];
                        ASSERT_TRUE(b.x >= a.x + a.w || b.y >= a.y + a.h) << width << "x" << height << " card " << i;
                    }
                }
            }
        }
    }
}

TEST(CardGrid, DecksOutsideTheGameStillGetEveryCardPlaced) {
    for (int count : {0, 1, 2, 3, 7, 11, 13, 22}) {
        std::vector<Card> cards(static_cast<size_t>(count));
        for (Card& card : cards) card.x = card.y = card.w = card.h = -99;
        const CardLayout::Grid grid = CardLayout::Arrange(cards, 800, 600, 256);
        EXPECT_GE(grid.columns * grid.rows, count) << count;
        for (const Card& card : cards)
            EXPECT_TRUE(card.x >= 0 && card.y >= 0 && card.w > 0 && card.x + card.w <= 800) << count;
    }
}

TEST(Dealing, EveryPictureOnTwoCardsOrNoneOverManySeedsAndSeedsShuffle) {
    const std::vector<std::string> keys = PictureKeys();
    std::set<std::vector<std::string>> deals;  // orders of 12-card deals for seeds 1 to 20
    for (int count : {12, 16, 20}) {
        for (unsigned seed = 1; seed <= 300; ++seed) {
            std::srand(seed);
            std::vector<Card> cards(static_cast<size_t>(count));
            CardLayout::Deal(cards, keys);
            std::map<std::string, int> perPicture;
            std::map<int, std::set<std::string>> picturesOfPair;
            std::vector<std::string> order;
            for (const Card& card : cards) {
                ASSERT_GE(card.pairId, 0);
                ASSERT_LT(card.pairId, count / 2);
                ASSERT_EQ(card.backTexture, "card");
                ++perPicture[card.frontTexture];
                picturesOfPair[card.pairId].insert(card.frontTexture);
                order.push_back(card.frontTexture);
            }
            if (count == 12 && seed <= 20) deals.insert(order);
            ASSERT_EQ(perPicture.size(), static_cast<size_t>(count / 2)) << "seed " << seed;
            for (const auto& entry : perPicture) {
                ASSERT_EQ(entry.second, 2) << entry.first << " seed " << seed;
                ASSERT_NE(std::find(keys.begin(), keys.end(), entry.first), keys.end());
            }
            for (const auto& entry : picturesOfPair) ASSERT_EQ(entry.second.size(), 1u);
        }
    }
    EXPECT_GT(deals.size(), 15u);
}

TEST(Dealing, RedealOddDeckAndTooFewPicturesAllEnd) {
    std::srand(7);
    std::vector<Card> cards(20);
    CardLayout::Deal(cards, PictureKeys());
    CardLayout::Deal(cards, PictureKeys());  // pair ids from the first deal are replaced
    std::map<int, int> perPair;
    for (const Card& card : cards) ++perPair[card.pairId];
    EXPECT_EQ(perPair.size(), 10u);

    CardLayout::Deal(cards, PictureKeys(4));  // fewer pictures than pairs repeats pictures instead of hanging
    std::map<std::string, int> perPicture;
    for (const Card& card : cards) ++perPicture[card.frontTexture];
    EXPECT_EQ(perPicture.size(), 4u) << "every distinct picture is used before any repeats";
    for (const auto& entry : perPicture) EXPECT_EQ(entry.second % 2, 0);
    std::vector<Card> bare(12);
    CardLayout::Deal(bare, {});
    for (const Card& card : bare) EXPECT_GE(card.pairId, 0);

    std::vector<Card> odd(7);  // one card is left without a pair
    CardLayout::Deal(odd, PictureKeys());
    int unpaired = 0;
    for (const Card& card : odd) unpaired += card.pairId == -1 ? 1 : 0;
    EXPECT_EQ(unpaired, 1);
}

// Face-up cards with the given pictures.
std::vector<Card> Table(const std::vector<std::string>& pictures) {
    std::vector<Card> cards(pictures.size());
    for (size_t i = 0; i < pictures.size(); ++i) cards[i].frontTexture = pictures[i];
    return cards;
}

std::vector<bool> Matched(const std::vector<Card>& cards) {
    std::vector<bool> matched;
    for (const Card& card : cards) matched.push_back(card.matched);
    return matched;
}

TEST(PairQueries, FindMatchOrder) {
    std::vector<Card> three = Table({"a", "b", "b"});  // marks the second and third
    EXPECT_TRUE(CardLayout::FindMatch(three));
    EXPECT_EQ(Matched(three), (std::vector<bool>{false, true, true}));
    EXPECT_FALSE(CardLayout::FindMatch(three));

    std::vector<Card> cards = Table({"b", "a", "a", "b"});  // the pair whose first card comes first
    EXPECT_TRUE(CardLayout::FindMatch(cards));
    EXPECT_EQ(Matched(cards), (std::vector<bool>{true, false, false, true}));
    EXPECT_TRUE(CardLayout::FindMatch(cards));
    EXPECT_EQ(Matched(cards), (std::vector<bool>{true, true, true, true}));

    std::vector<Card> skipped = Table({"a", "a", "a", "c"});  // face-down and matched cards are skipped
    skipped[0].faceDown = true;
    skipped[1].matched = true;
    EXPECT_FALSE(CardLayout::FindMatch(skipped));
    EXPECT_FALSE(skipped[2].matched);
    std::vector<Card> one = Table({"a"});
    EXPECT_FALSE(CardLayout::FindMatch(one));
    std::vector<Card> none;
    EXPECT_FALSE(CardLayout::FindMatch(none));
}

TEST(PairQueries, AllMatchedCountFaceUpUnmatchedAndHideUnmatched) {
    std::vector<Card> cards = Table({"a", "a", "b", "b"});
    EXPECT_FALSE(CardLayout::AllMatched(cards));  // face up is not matched
    EXPECT_EQ(CardLayout::CountFaceUpUnmatched(cards), 4);
    cards[0].matched = cards[1].matched = true;
    cards[2].faceDown = true;
    EXPECT_EQ(CardLayout::CountFaceUpUnmatched(cards), 1);
    EXPECT_FALSE(CardLayout::AllMatched(cards));

    // Only unmatched face-up cards turn; a face-down one is left as it is.
    CardLayout::HideUnmatched(cards);
    EXPECT_FALSE(cards[0].faceDown);
    EXPECT_FALSE(cards[1].faceDown);
    EXPECT_FALSE(cards[2].flipping);
    EXPECT_TRUE(cards[3].faceDown);
    EXPECT_TRUE(cards[3].flipping);

    cards[2].matched = cards[3].matched = true;
    EXPECT_TRUE(CardLayout::AllMatched(cards));
    std::vector<Card> none;
    EXPECT_TRUE(CardLayout::AllMatched(none));
}

}  // namespace
