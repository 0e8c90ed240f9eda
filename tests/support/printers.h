// SPDX-License-Identifier: GPL-3.0-or-later
// Readable test failure messages for the rules' value types.
#pragma once

#include "game/game_state.h"
#include "game/operation.h"

#include <ostream>

namespace tavlo {

inline void PrintTo(const BoardPoint& p, std::ostream* out) {
    *out << '(' << p.left << ", " << p.top << ')';
}
inline void PrintTo(const Rgb& c, std::ostream* out) {
    *out << '(' << int{c.red} << ", " << int{c.green} << ", " << int{c.blue} << ')';
}
inline void PrintTo(const GameState& s, std::ostream* out) {
    *out << "{dicevalue " << s.dicevalue << ", diceframe " << s.diceframe << ", rollticks "
         << s.rollticks << ", last rolls " << s.movecurrentcountp1 << '/' << s.movecurrentcountp2
         << '/' << s.movecurrentcountp3 << '/' << s.movecurrentcountp4 << ", squares "
         << s.movetotalcountp1 << '/' << s.movetotalcountp2 << '/' << s.movetotalcountp3 << '/'
         << s.movetotalcountp4 << ", currentplayer " << s.currentplayer << ", noofplayers "
         << s.noofplayers << ", playagain " << s.playagain << ", gameover " << s.gameover << '}';
}
namespace op {
inline void PrintTo(const SetPicture& p, std::ostream* out) {
    *out << describe(p);
}
} // namespace op

} // namespace tavlo
