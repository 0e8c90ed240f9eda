// SPDX-License-Identifier: GPL-3.0-or-later
// Whole games driven by random event sequences: the state stays in range after every event,
// the setup lock follows the phase of the game, and every game played through ends with a winner.
#include "support/game_fixture.h"
#include "support/state_checks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace tavlo::testing {
namespace {

enum class Phase { Setup, Play, Won };

constexpr Control kSetupControls[] = {Control::player2,        Control::player3,
                                      Control::player4,        Control::txtplayer1name,
                                      Control::txtplayer2name, Control::txtplayer3name,
                                      Control::txtplayer4name};
constexpr Control kOptions[] = {Control::player2, Control::player3, Control::player4};

const std::string kNames[] = {"",          "A",  "<i>x</i>", "O'Brien \"Ob\"",
                              "\\n\t\x01", "🐍🎲", "שלום",     std::string(300, 'w')};

// Drives one window and one game the way a player and the timers can: only enabled controls
// take clicks and only enabled timers tick.
class Table {
public:
    explicit Table(unsigned seed) : random_(seed), events_(seed * 7919u + 1u) {
        window.logging = false;
        game.Form_Load();
    }

    void step() {
        const int roll = pick(100);
        if (window[Control::Timer2].enabled && roll < 55)
            return tick();
        if (roll < 75)
            return clickDie();
        if (roll < 80) {
            if (window[Control::Timer1].enabled)
                game.Timer1_Timer();
            return;
        }
        if (roll < 84)
            return newGame();
        if (roll < 92) {
            const Control option = kOptions[pick(3)];
            if (window[option].enabled)
                clickOption(window, game, option);
            return;
        }
        const Control box = kSetupControls[3 + pick(4)];
        if (window[box].enabled)
            window.type(box, kNames[pick(static_cast<int>(std::size(kNames)))]);
    }

    void tick() {
        game.Timer2_Timer();
        if (game.state().gameover == kTrue)
            phase = Phase::Won;
    }
    void clickDie() {
        const bool accepted = game.state().gameover == 0;
        game.picdice_Click();
        if (accepted)
            phase = Phase::Play;
    }
    void newGame() {
        game.cmdnewgame_Click();
        phase = Phase::Setup;
    }
    // Every invariant that must hold between events; returns the first one broken.
    std::string broken() const {
        const GameState& s = game.state();
        if (std::string range = stateOutOfRange(s); !range.empty())
            return range;
        if ((s.gameover == kTrue) != (phase == Phase::Won))
            return "gameover does not match the phase";
        if ((s.gameover == kTrue) != window[Control::lblwinner].visible)
            return "winner label visibility";
        for (Control c : kSetupControls)
            if (window[c].enabled != (phase == Phase::Setup))
                return "setup lock of " + std::string(controlName(c));
        if (window[Control::Timer2].enabled != (window.pointer() == MousePointer::Busy))
            return "busy pointer without a roll, or a roll without it";
        if (window.selectedOption() != kOptions[s.noofplayers - 2])
            return "selected option does not match noofplayers";
        const std::int16_t squares[] = {s.movetotalcountp1, s.movetotalcountp2, s.movetotalcountp3,
                                        s.movetotalcountp4};
        for (int n = 1; n <= 4; ++n)
            if (window[player(n).startToken].visible && squares[n - 1] != 0)
                return "start token shown for a player on the board";
        if (!window[Control::Timer2].enabled && window[Control::picdice].picture &&
            window[Control::picdice].picture->index != kRestingDie)
            return "die not at rest between rolls";
        return {};
    }

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(events_); }

    RecordingWindow window;
    SeededRandom random_;
    Game game{window, random_};
    Phase phase = Phase::Setup;

private:
    std::mt19937 events_;
};

TEST(WholeGame, RandomEventSequencesKeepEveryInvariant) {
    for (unsigned seed = 1; seed <= 2000; ++seed) {
        Table table(seed);
        ASSERT_EQ(table.broken(), "") << "seed " << seed << " after start-up";
        for (int event = 0; event < 400; ++event) {
            table.step();
            ASSERT_EQ(table.broken(), "") << "seed " << seed << " after event " << event;
        }
    }
}

TEST(WholeGame, EveryUninterruptedGameEndsWithAWinner) {
    int wins[5] = {};
    for (unsigned seed = 1; seed <= 1500; ++seed) {
        Table table(seed);
        const int players = 2 + static_cast<int>(seed % 3);
        clickOption(table.window, table.game, kOptions[players - 2]);
        int rolls = 0;
        while (table.game.state().gameover == 0) {
            ASSERT_LT(++rolls, 10000) << "seed " << seed << ": no winner";
            table.clickDie();
            for (int t = 0; t < kRollTicks; ++t)
                table.tick();
            ASSERT_EQ(table.broken(), "") << "seed " << seed << " roll " << rolls;
        }
        const std::string& caption = table.window[Control::lblwinner].caption;
        const int winner = caption[7] - '0'; // "Player n  Wins"
        ASSERT_EQ(caption, "Player " + std::to_string(winner) + "  Wins");
        ASSERT_GE(fieldsOf(table.game.state(), winner).square, 100);
        ASSERT_LE(winner, players);
        ++wins[winner];
    }
    // Nobody is locked out: every seat wins some games.
    for (int seat = 1; seat <= 4; ++seat)
        EXPECT_GT(wins[seat], 0) << "seat " << seat;
}

} // namespace
} // namespace tavlo::testing
