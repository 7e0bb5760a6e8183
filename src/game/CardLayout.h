// CardLayout.h - the card-table operations that need no input and no window:
// dealing pictures in pairs, laying cards out in a centred grid, and the
// queries on matched pairs. GameRunState calls these on its card vector.
#pragma once

#include "Card.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace CardLayout {

// Space kept free around the grid, in total per direction.
constexpr int32_t Margin = 40;

struct Grid {
    int32_t columns = 0;
    int32_t rows = 0;
    int32_t size = 0;
    int32_t gapX = 0;
    int32_t gapY = 0;
};

// The factor pair d x q of n with d in 2..9 closest to square; (10, 1) when
// there is none.
std::pair<int32_t, int32_t> FindGridFactors(int32_t n);

// Chooses the grid and card size for the window and writes every card's
// rectangle, row by row in vector order. Always ends, also for windows smaller
// than the margin (cards of size 0 at the centre).
Grid Arrange(std::vector<Card>& cards, int32_t width, int32_t height, int32_t startSize);

// Gives every pair of cards its own picture from textureNames, drawn with
// rand(); pairIds are 0..n/2-1. Pictures repeat only when there are fewer
// distinct names than pairs.
void Deal(std::vector<Card>& cards, const std::vector<std::string>& textureNames);

// Marks the first face-up unmatched pair with equal pictures (in index order).
bool FindMatch(std::vector<Card>& cards);
bool AllMatched(const std::vector<Card>& cards);
void HideUnmatched(std::vector<Card>& cards);
int32_t CountFaceUpUnmatched(const std::vector<Card>& cards);

}  // namespace CardLayout
