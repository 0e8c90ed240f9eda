// SPDX-License-Identifier: GPL-3.0-or-later
// The game told in words, for players who follow it with a screen reader. Names are used exactly
// as typed; nothing here is ever shown as markup.
#pragma once

#include "board.h"

#include <optional>
#include <string>

namespace tavlo {

// One finished move, as the die's description tells it.
struct MoveReport {
    std::string mover;
    int roll = 0;
    int landing = 0;          // the square the walk ended on, before any snake or ladder
    std::optional<Jump> jump; // the snake or ladder taken from `landing`
    std::string next;         // who rolls next; the mover again after a ladder
};

// "Ada rolled 4 and moved to square 12. Ben's turn.", or a ladder, a snake or a win.
std::string narrateMove(const MoveReport& move);
// "Ada's turn.": the die's description when a game starts.
std::string narrateTurn(const std::string& player);
// "Token of Ada, square 31": a board token's name once it is on the board. Past square 100 the
// token stands on 100.
std::string tokenName(const std::string& player, int square);
// "Token of player 2, not on the board": before the player's first move.
std::string waitingTokenName(int player);

} // namespace tavlo
