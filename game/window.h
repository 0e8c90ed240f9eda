// SPDX-License-Identifier: GPL-3.0-or-later
// What the rules ask of the main window.
//
// The rules never touch a toolkit. Each handler of `Game` runs to completion at once and, as it
// goes, hands the window a sequence of `Operation`s through `perform`, strictly in the order they
// must be seen. The sequence may contain `Pause` requests (500 ms before and between the steps
// of a move). The window may carry the sequence out in one of two ways:
//   - block: carry out each operation at once and sleep inside `perform(Pause)`; or
//   - play it back over time: carry operations out at once until the first `Pause`, then keep
//     the rest and carry it out as each pause runs out, while the window stays responsive.
// Either way the player sees the same thing. The rules' own state is already final when the
// handler returns, so a window that plays back must not run another handler until it has played
// everything (clicks and timer ticks that arrive meanwhile are dropped), with one exception:
// `cmdexit_Click` and the window's close command may run at any moment. `op::Close` is carried
// out at once, also in the middle of a play-back, and discards whatever is still waiting.
//
// The three questions below are answered at once, never deferred. The rules ask them only
// where no play-back can be running: the name boxes are read when a handler starts its work,
// and the number labels never move once the board is drawn.
//
// One whole turn, as the window sees it (player 1 of two, roll of 4 from square 0):
//   picdice_Click   SetEnabled(player2..player4, txtplayer1name..txtplayer4name, false)
//                   SetEnabled(Timer2, true)  SetMousePointer(Busy)
//                   SetAccessibleName(ImageN, "Token of <name>, not on the board")
//                                                       ... for each token not yet on the board
//   Timer2_Timer x19  SetPicture(picdice, ImageList2, face)
//   Timer2_Timer (20th)
//                   SetPicture(picdice, ImageList2, face)  SetEnabled(Timer2, false)
//                   Pause(500)
//                   SetVisible(imgstartp1, false)  SetPicture(Image1, ImageList1, 6)
//                   text(txtplayer1name) -> SetToolTip(Image1, name)
//                   Move(Image1, 0, 9000, 980, 980)     Pause(500)
//                   Move(Image1, 1000, 9000, 980, 980)  Pause(500)   ... one per square walked
//                   [snake or ladder: labelPosition(target) -> Move(Image1, target)]
//                   SetPicture(picdice, ImageList2, 7)
//                   [win: SetVisible(lblwinner, true) SetBackColor(lblwinner, navy)
//                         SetCaption(lblwinner, name + "  Wins") SetEnabled(Timer1, true)]
//                   [turn passes: SetForeColor(lblcurrentplayer, next player's colour)]
//                   SetCaption(lblcurrentplayer, name + "'s  Turn")
//                   SetMousePointer(Default)
//                   SetAccessibleName(Image1, "Token of <name>, square 4")
//                   News("<name> rolled 4 and moved to square 4. ...")
//
// New Game first stops the die: SetEnabled(Timer2, false) SetEnabled(Timer1, false)
// SetPicture(picdice, ImageList2, 7) SetMousePointer(Default); then it sets up the new game and
// ends with News("New game. <name>'s turn."). Once the game is won, a press of the die moves
// nothing and only tells the winner again. Start-up ends with the news kept, not said:
// News("<name>'s turn.", kept).
//
// Each `News` to be said must reach a screen reader's user once, and only once; how it reaches
// them is the window's affair.
#pragma once

#include "controls.h"
#include "operation.h"

#include <cstdint>
#include <string>

namespace tavlo {

class Window {
public:
    virtual ~Window() = default;

    // Carries out one operation, or keeps it for after the pause before it (see above).
    virtual void perform(const Operation& operation) = 0;

    // Selects the option button `option` of its group. Returns true when it was not selected
    // before; the caller then runs that option's click handler, as a user's click would.
    virtual bool selectOption(Control option) = 0;

    // The current text of a name box, exactly as typed.
    virtual std::string text(Control textBox) const = 0;

    // Where the number label of square `square` (1..100) stands on the board, in twips.
    virtual BoardPoint labelPosition(std::int16_t square) const = 0;
};

} // namespace tavlo
