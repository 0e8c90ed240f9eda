// SPDX-License-Identifier: GPL-3.0-or-later
// The ranges the game's state keeps between events, whatever the players do.
#pragma once

#include "game/game_state.h"

#include <string>

namespace tavlo::testing {

// The first range broken, or an empty string.
inline std::string stateOutOfRange(const GameState& s) {
    if (s.noofplayers < 2 || s.noofplayers > 4)
        return "noofplayers " + std::to_string(s.noofplayers);
    if (s.currentplayer < 1 || s.currentplayer > s.noofplayers)
        return "currentplayer " + std::to_string(s.currentplayer);
    for (const std::int16_t square :
         {s.movetotalcountp1, s.movetotalcountp2, s.movetotalcountp3, s.movetotalcountp4})
        if (square < 0 || square > 104)
            return "square " + std::to_string(square);
    if (s.diceframe < 1 || s.diceframe > 7)
        return "diceframe " + std::to_string(s.diceframe);
    if (s.rollticks < 0 || s.rollticks > 19)
        return "rollticks " + std::to_string(s.rollticks);
    if (s.dicevalue < 0 || s.dicevalue > 6)
        return "dicevalue " + std::to_string(s.dicevalue);
    if (s.playagain != 0)
        return "playagain left set";
    if (s.gameover != kFalse && s.gameover != kTrue)
        return "gameover " + std::to_string(s.gameover);
    return {};
}

} // namespace tavlo::testing
