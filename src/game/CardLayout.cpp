#include "CardLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <set>

namespace CardLayout {

namespace {

bool Fits(int32_t columns, int32_t rows, int32_t size, int32_t width, int32_t height) {
    const int32_t share = size + size / 32;
    return columns * share <= width - Margin && rows * share <= height - Margin;
}

// Gap between neighbours along one direction; one card in that direction has
// no neighbour, and a window below the margin leaves no room at all.
int32_t Gap(int32_t count, int32_t size, int32_t extent) {
    int32_t gap = size / 4;
    if (count > 1) gap = std::min(gap, (extent - Margin - count * size) / (count - 1));
    return std::max(gap, 0);
}

// First coordinate of a line of count cards centred on half the extent.
int32_t Start(int32_t count, int32_t size, int32_t gap, int32_t extent) {
    if (count % 2 == 1) return extent / 2 - size / 2 - (count / 2) * (gap + size);
    return extent / 2 - gap / 2 - (count / 2 - 1) * gap - (count / 2) * size;
}

}  // namespace

std::pair<int32_t, int32_t> FindGridFactors(int32_t n) {
    std::pair<int32_t, int32_t> best(10, 1);
    if (n <= 0) return best;
    for (int32_t d = 2; d <= 9; ++d) {
        if (n % d != 0) continue;
        const int32_t q = n / d;
        if (n % q == 0 && n / q == d && std::abs(d - q) < std::abs(best.first - best.second)) best = {d, q};
    }
    return best;
}

Grid Arrange(std::vector<Card>& cards, int32_t width, int32_t height, int32_t startSize) {
    Grid grid;
    const int32_t n = static_cast<int32_t>(cards.size());
    if (n == 0) return grid;

    auto factors = FindGridFactors(n);
    if (factors.first * factors.second != n) {
        // No factor pair in range (a deck the game never deals): the nearest
        // square grid that holds every card.
        factors.first = static_cast<int32_t>(std::ceil(std::sqrt(static_cast<double>(n))));
        factors.second = (n + factors.first - 1) / factors.first;
    }
    const int32_t larger = std::max(factors.first, factors.second);
    const int32_t smaller = std::min(factors.first, factors.second);
    grid.columns = width > height ? larger : smaller;
    grid.rows = width > height ? smaller : larger;

    // Halve until the grid fits; size 0 is the last step, so this ends even
    // when nothing fits.
    int32_t size = std::max(startSize, 0);
    while (size > 0 && !Fits(grid.columns, grid.rows, size, width, height)) size /= 2;
    grid.size = size;
    grid.gapX = Gap(grid.columns, size, width);
    grid.gapY = Gap(grid.rows, size, height);

    int32_t top = Start(grid.rows, size, grid.gapY, height);
    int32_t index = 0;
    for (int32_t row = 0; row < grid.rows && index < n; ++row) {
        int32_t left = Start(grid.columns, size, grid.gapX, width);
        for (int32_t column = 0; column < grid.columns && index < n; ++column) {
            Card& card = cards[static_cast<size_t>(index++)];
            card.x = left;
            card.y = top;
            card.w = size;
            card.h = size;
            left += grid.gapX + size;
        }
        top += grid.gapY + size;
    }
    return grid;
}

void Deal(std::vector<Card>& cards, const std::vector<std::string>& textureNames) {
    const int32_t n = static_cast<int32_t>(cards.size());
    const int32_t k = static_cast<int32_t>(textureNames.size());
    for (Card& card : cards) {
        card.frontTexture = "";
        card.backTexture = "card";
        card.pairId = -1;
    }

    const int32_t pairs = n / 2;
    std::vector<std::string> chosen(static_cast<size_t>(pairs));

    // Distinct non-empty names bound how many pairs can get a picture of
    // their own; past that, drawing "again" would never end.
    std::set<std::string> distinct(textureNames.begin(), textureNames.end());
    distinct.erase("");
    const int32_t unique = static_cast<int32_t>(distinct.size());
    if (unique < pairs) {
        std::cerr << "DealCards: " << unique << " distinct pictures for " << pairs << " pairs; some pictures repeat"
                  << std::endl;
    }

    for (int32_t i = 0; i < pairs && k > 0; ++i) {
        for (;;) {
            const std::string& key = textureNames[static_cast<size_t>(std::rand() % k)];
            if (i >= unique) {
                chosen[static_cast<size_t>(i)] = key;
                break;
            }
            if (std::find(chosen.begin(), chosen.end(), key) == chosen.end()) {
                chosen[static_cast<size_t>(i)] = key;
                break;
            }
        }
    }

    for (int32_t p = 0; p < pairs; ++p) {
        int32_t placed = 0;
        while (placed < 2) {
            Card& card = cards[static_cast<size_t>(std::rand() % n)];
            if (card.pairId == -1) {
                card.pairId = p;
                card.frontTexture = chosen[static_cast<size_t>(p)];
                ++placed;
            }
        }
    }
}

bool FindMatch(std::vector<Card>& cards) {
    const size_t n = cards.size();
    for (size_t a = 0; a + 1 < n; ++a) {
        if (cards[a].faceDown || cards[a].matched) continue;
        for (size_t b = a + 1; b < n; ++b) {
            if (cards[b].faceDown || cards[b].matched) continue;
            if (cards[a].frontTexture == cards[b].frontTexture) {
                cards[a].matched = true;
                cards[b].matched = true;
                return true;
            }
        }
    }
    return false;
}

bool AllMatched(const std::vector<Card>& cards) {
    return std::all_of(cards.begin(), cards.end(), [](const Card& card) { return card.matched; });
}

void HideUnmatched(std::vector<Card>& cards) {
    for (Card& card : cards) {
        if (!card.matched) card.Hide();
    }
}

int32_t CountFaceUpUnmatched(const std::vector<Card>& cards) {
    return static_cast<int32_t>(
        std::count_if(cards.begin(), cards.end(), [](const Card& card) { return !card.faceDown && !card.matched; }));
}

}  // namespace CardLayout
