// SPDX-License-Identifier: GPL-3.0-or-later
#include "narration.h"

#include <algorithm>

namespace tavlo {

std::string nameOrPlayerNumber(const std::string& typed, int player) {
    const bool blank =
        std::all_of(typed.begin(), typed.end(), [](char c) { return c == ' ' || c == '\t'; });
    return blank ? "Player " + std::to_string(player) : typed;
}

std::string narrateMove(const MoveReport& move) {
    const std::string rolled = move.mover + " rolled " + std::to_string(move.roll);
    if (move.landing >= kWinningSquare)
        return rolled + " and reached square 100. " + narrateWin(move.mover);
    if (move.jump && move.jump->isLadder())
        return rolled + ": ladder from " + std::to_string(move.jump->from) + " up to " +
               std::to_string(move.jump->to) + ". " + move.next + " rolls again.";
    if (move.jump)
        return rolled + ": snake from " + std::to_string(move.jump->from) + " down to " +
               std::to_string(move.jump->to) + ". " + narrateTurn(move.next);
    return rolled + " and moved to square " + std::to_string(move.landing) + ". " +
           narrateTurn(move.next);
}

std::string narrateTurn(const std::string& player) {
    return player + "'s turn.";
}

std::string narrateNewGame(const std::string& first) {
    return "New game. " + narrateTurn(first);
}

std::string narrateWin(const std::string& winner) {
    return winner + " wins. Press New Game to play again.";
}

std::string tokenName(const std::string& player, int square) {
    return "Token of " + player + ", square " +
           std::to_string(std::min<int>(square, kWinningSquare));
}

std::string waitingTokenName(const std::string& player) {
    return "Token of " + player + ", not on the board";
}

} // namespace tavlo
