// SPDX-License-Identifier: GPL-3.0-or-later
// The board: 10 by 10 squares of 1000 by 1000 twips, square 1 at the bottom-left, rows running
// alternately left to right and right to left, square 100 at the top-left.
#pragma once

#include "controls.h"

#include <array>
#include <cstdint>
#include <optional>

namespace tavlo {

inline constexpr std::int16_t kSquareTwips = 1000;
inline constexpr std::int16_t kBoardTwips = 10000;

// Row of square n (1..100): 0 at the bottom; squares past 100 continue into row 10.
constexpr int rowOf(int square) {
    return (square - 1) / 10;
}

// The top-left corner of square n's cell (n in 1..100).
constexpr BoardPoint squareOrigin(int square) {
    const int row = rowOf(square);
    const int k = (square - 1) % 10;
    const int column = row % 2 == 0 ? k : 9 - k;
    return {static_cast<std::int16_t>(kSquareTwips * column),
            static_cast<std::int16_t>(9000 - kSquareTwips * row)};
}

// The square whose cell holds point p, or 0 when p lies off the board.
constexpr int squareAt(BoardPoint p) {
    if (p.left < 0 || p.top < 0 || p.left >= kBoardTwips || p.top >= kBoardTwips)
        return 0;
    const int column = p.left / kSquareTwips;
    const int row = 9 - p.top / kSquareTwips;
    return row * 10 + (row % 2 == 0 ? column : 9 - column) + 1;
}

// A snake (down) or a ladder (up), keyed by the square a token must land on.
struct Jump {
    std::int16_t from;
    std::int16_t to;
    bool isLadder() const { return to > from; }
};

inline constexpr std::array<Jump, 9> kJumps{{
    {8, 31},
    {15, 97},
    {24, 1},
    {42, 81},
    {55, 13},
    {66, 87},
    {71, 29},
    {88, 67},
    {99, 6},
}};

constexpr std::optional<Jump> jumpFrom(int square) {
    for (const Jump& jump : kJumps)
        if (jump.from == square)
            return jump;
    return std::nullopt;
}

// A landing square of this or more wins; no exact roll is needed.
inline constexpr std::int16_t kWinningSquare = 100;

} // namespace tavlo
