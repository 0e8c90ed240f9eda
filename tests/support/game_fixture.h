// SPDX-License-Identifier: GPL-3.0-or-later
// A game wired to the recording window and a scripted die, with helpers to play it.
#pragma once

#include "printers.h"
#include "recording_window.h"
#include "scripted_random.h"

#include "game/game.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace tavlo::testing {

// The requests that name the tokens waiting off the board in a two-player game, with the names
// the boxes start with; the tokens of players 3 and 4 go unnamed.
inline const std::vector<std::string> kNamingWaitingTokens = {
    "Text(txtplayer1name)",
    "SetAccessibleName(Image1, \"Token of Player 1, not on the board\")",
    "Text(txtplayer2name)",
    "SetAccessibleName(Image2, \"Token of Player 2, not on the board\")",
    "SetAccessibleName(Image3, \"\")",
    "SetAccessibleName(Image4, \"\")",
};

// The sequences one after the other.
inline std::vector<std::string> concat(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// A player's click on an option, which the window passes on only if it changes the selection.
inline void clickOption(RecordingWindow& window, Game& game, Control option) {
    if (!window.selectOption(option))
        return;
    if (option == Control::player2)
        game.player2_Click();
    else if (option == Control::player3)
        game.player3_Click();
    else
        game.player4_Click();
}

class GameFixture : public ::testing::Test {
protected:
    void start(int players = 2) {
        game.Form_Load();
        choosePlayers(players);
    }
    // The count chosen as a player would, then an empty log.
    void choosePlayers(int players) {
        if (players > 2)
            clickOption(window, game, players == 3 ? Control::player3 : Control::player4);
        window.clearLog();
    }
    void ticks(int n) {
        for (int i = 0; i < n; ++i)
            game.Timer2_Timer();
    }
    // A whole roll that comes out as `face`, moving the current player.
    void roll(int face) {
        random.pushRoll(face);
        game.picdice_Click();
        ticks(kRollTicks);
    }
    const GameState& state() const { return game.state(); }

    RecordingWindow window;
    ScriptedRandom random;
    Game game{window, random};
};

} // namespace tavlo::testing
