// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of the game: the main window's state record and its event handlers. The window
// forwards each event to exactly one handler here and never changes the state itself; window.h
// tells what a handler asks of the window, and the order of one whole turn.
#pragma once

#include "common_function.h"
#include "game_state.h"
#include "random_source.h"
#include "window.h"

#include <cstdint>
#include <string>

namespace tavlo {

inline constexpr int kStepPauseMs = 500; // after every square walked, and before a move
inline constexpr int kRollTicks = 20;    // faces shown by one roll
inline constexpr std::int32_t kFlashColours = 10'000'000;

class Game {
public:
    Game(Window& window, RandomSource& random);
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Start-up: once, when the window is created and before it is first shown.
    void Form_Load();
    // New Game: a fresh two-player game that keeps the names. Accepted at any time; a running
    // roll and the winner flash stop first, so the new game starts with the die at rest.
    void cmdnewgame_Click();
    // Exit: closes the window, which ends the program.
    void cmdexit_Click();
    // The player-count options: clicked, or selected in code while not selected.
    void player2_Click();
    void player3_Click();
    void player4_Click();
    // The die: starts a roll unless the game is over. Also accepted while a roll runs.
    void picdice_Click();
    // One tick of the roll (60 ms); the twentieth ends the roll and moves the current player.
    void Timer2_Timer();
    // One tick of the winner flash (100 ms): a random colour for the winner label.
    void Timer1_Timer();

    // Walks the mover's token from square movetotalcountplayer - movecurrentcountplayer to
    // movetotalcountplayer, then applies a snake or ladder, puts the die at rest and declares a
    // win. m1..m4 are the mover's token rectangle (Left, Top, Width, Height, twips) and, like
    // the two counts, the caller's own fields: Left and Top are updated in place. `cookie` is
    // the mover's pawn picture, which also selects whose square a jump sets. After a ladder,
    // `playagain` is -1 and `currentplayer` one lower; after a win, `gameover` is -1.
    void moveonboard(Control imagestart, Control img, std::int16_t& m1, std::int16_t& m2,
                     std::int16_t& m3, std::int16_t& m4, std::int16_t& movetotalcountplayer,
                     std::int16_t& movecurrentcountplayer, std::int16_t cookie,
                     Control txtcurrentplayer);

    const GameState& state() const { return state_; }
    GameState& state() { return state_; }
    const CommonFunction& common() const { return common_; }
    CommonFunction& common() { return common_; }

private:
    void selectOption(Control option);
    void endRoll();
    int chooseMover() const;
    // Returns who rolls next: the mover again after a ladder.
    int writeWhoseTurn(int mover);
    void stopRollAndFlash();
    // Tells a screen reader what the move did and where the mover's token now stands.
    void narrateMove(int mover, std::int16_t landing, int next);
    // Names the tokens not yet on the board after their players' names as typed now, and
    // leaves the tokens of players taking no part unnamed.
    void nameWaitingTokens();
    // Player n's name as typed in its box now, or "Player n" when the box is blank.
    std::string nameOrPlayerNumber(int n) const;
    void advanceTurn();
    // What every game starts with: two players, player 1 to roll, the pawns in the start area
    // (at start-up, beside the name boxes too). A new game also parks the board tokens below the
    // board and clears every square and roll. Returns player 1's spoken name.
    std::string startTwoPlayerGame(bool newGame);

    Window& window_;
    RandomSource& random_;
    CommonFunction common_;
    GameState state_;
};

} // namespace tavlo
