// SPDX-License-Identifier: GPL-3.0-or-later
// The game told in words, for players who follow it with a screen reader. Names are used exactly
// as typed, except that a blank name box is called "Player N"; nothing here is ever shown as
// markup.
#pragma once

#include "board.h"

#include <optional>
#include <string>

namespace tavlo {

// What a screen reader calls player `player` (1..4) whose name box holds `typed`: the name as
// typed, or "Player 2" when the box is empty or holds only blanks, which would be heard as
// nothing at all.
std::string nameOrPlayerNumber(const std::string& typed, int player);

// One finished move, as the die's description tells it. Names are spoken names.
struct MoveReport {
    std::string mover;
    int roll = 0;
    int landing = 0;          // the square the walk ended on, before any snake or ladder
    std::optional<Jump> jump; // the snake or ladder taken from `landing`
    std::string next;         // who rolls next; the mover again after a ladder
};

// "Ada rolled 4 and moved to square 12. Ben's turn.", or a ladder, a snake or a win.
std::string narrateMove(const MoveReport& move);
// "Ada's turn.": the die's description when the window opens.
std::string narrateTurn(const std::string& player);
// "New game. Ada's turn."
std::string narrateNewGame(const std::string& first);
// "Ada wins. Press New Game to play again.": the end of the winning move, and the answer to a
// press of the die once the game is over.
std::string narrateWin(const std::string& winner);
// "Token of Ada, square 31": a board token's name once it is on the board. Past square 100 the
// token stands on 100.
std::string tokenName(const std::string& player, int square);
// "Token of Ada, not on the board": before the player's first move.
std::string waitingTokenName(const std::string& player);

} // namespace tavlo
