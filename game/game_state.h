// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's own variables: the whole state of a game.
#pragma once

#include "controls.h"

#include <cstdint>

namespace tavlo {

// Booleans in the record are -1 (true) and 0 (false).
inline constexpr std::int16_t kTrue = -1;
inline constexpr std::int16_t kFalse = 0;

// A board token's rectangle in board twips. Between moves Left and Top hold where the token goes
// on its next step: the square after the player's square, plus the player's offset.
struct TokenRect {
    std::int16_t Left = 0;
    std::int16_t Top = 0;
    std::int16_t Width = 0;
    std::int16_t Height = 0;
    friend bool operator==(const TokenRect&, const TokenRect&) = default;
};

// Zero-filled when the window is created, before start-up runs.
struct GameState {
    std::int16_t dicevalue = 0;          // face shown; after a roll, the roll (1..6)
    std::int16_t diceframe = 0;          // slot of the die order for the next roll tick, 1..7
    std::int16_t rollticks = 0;          // ticks of the running roll, 0..19 between ticks
    std::int16_t movecurrentcountp1 = 0; // last roll of each player
    std::int16_t movecurrentcountp2 = 0;
    std::int16_t movecurrentcountp3 = 0;
    std::int16_t movecurrentcountp4 = 0;
    std::int16_t movetotalcountp1 = 0; // square of each player; 0 = not yet on the board
    std::int16_t movetotalcountp2 = 0;
    std::int16_t movetotalcountp3 = 0;
    std::int16_t movetotalcountp4 = 0;
    TokenRect tokenrectp1;
    TokenRect tokenrectp2;
    TokenRect tokenrectp3;
    TokenRect tokenrectp4;
    std::int16_t currentplayer = 0; // whose turn, 1..noofplayers between moves
    std::int16_t noofplayers = 0;   // 2, 3 or 4
    std::int16_t playagain = 0;     // -1 while the mover keeps the turn
    std::int16_t gameover = 0;      // -1 once a player has won
    friend bool operator==(const GameState&, const GameState&) = default;
};

// What belongs to one player: controls, pawn picture, colour, and their fields of the record.
struct PlayerBinding {
    Control startToken;  // in the start area beside the board
    Control boardToken;  // walks on the board
    Control legendToken; // beside the name box
    Control nameBox;
    std::int16_t cookie; // the pawn's picture in ImageList1; not in player order
    Rgb turnColour;      // colour of the whose-turn label on this player's turn
    TokenRect startRect; // token rectangle at the start of a game
};

// Player n (1..4) is kPlayers[n - 1].
inline constexpr PlayerBinding kPlayers[4] = {
    {Control::imgstartp1,
     Control::Image1,
     Control::imgp1,
     Control::txtplayer1name,
     6,
     {235, 79, 33},
     {0, 9000, 980, 980}},
    {Control::imgstartp2,
     Control::Image2,
     Control::imgp2,
     Control::txtplayer2name,
     9,
     {107, 201, 67},
     {0, 9000, 980, 980}},
    {Control::imgstartp3,
     Control::Image3,
     Control::imgp3,
     Control::txtplayer3name,
     7,
     {117, 186, 255},
     {40, 9000, 980, 980}},
    {Control::imgstartp4,
     Control::Image4,
     Control::imgp4,
     Control::txtplayer4name,
     8,
     {240, 211, 145},
     {70, 9000, 980, 980}},
};

constexpr const PlayerBinding& player(int n) {
    return kPlayers[n - 1];
}

// The record's fields of player n (1..4), by reference.
struct PlayerFields {
    std::int16_t& square;
    std::int16_t& lastRoll;
    TokenRect& rect;
};
PlayerFields fieldsOf(GameState& state, int n);

} // namespace tavlo
