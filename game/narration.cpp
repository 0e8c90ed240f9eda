// SPDX-License-Identifier: GPL-3.0-or-later
#include "narration.h"

#include <algorithm>

namespace tavlo {

std::string narrateMove(const MoveReport& move) {
    const std::string rolled = move.mover + " rolled " + std::to_string(move.roll);
    if (move.landing >= kWinningSquare)
        return rolled + " and reached square 100. " + move.mover + " wins.";
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

std::string tokenName(const std::string& player, int square) {
    return "Token of " + player + ", square " +
           std::to_string(std::min<int>(square, kWinningSquare));
}

std::string waitingTokenName(int player) {
    return "Token of player " + std::to_string(player) + ", not on the board";
}

} // namespace tavlo
