// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, New Game and the player-count options. (The setup lock: the die's click in
// dice_test.cpp, New Game here, and the whole games of whole_game_test.cpp.)
#include "support/game_fixture.h"

#include <gmock/gmock.h>

namespace tavlo::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

const std::vector<std::string> kStartUpBeforeTheNames = {
    "SetBackColor(frmmain, (0, 0, 25))",
    "SetBackColor(frameplayername, (0, 0, 25))",
    "SetBackColor(frameselectnoofplayer, (0, 0, 25))",
    "SetBackColor(player2, (0, 0, 25))",
    "SetBackColor(player3, (0, 0, 25))",
    "SetBackColor(player4, (0, 0, 25))",
    "SetBackColor(picdice, (0, 0, 25))",
    "SetForeColor(player2, (255, 255, 255))",
    "SetForeColor(player3, (255, 255, 255))",
    "SetForeColor(player4, (255, 255, 255))",
    "SetBackColor(lblcurrentplayer, (0, 0, 25))",
    "DrawBoard()",
    "SetPicture(picdice, ImageList2, 7)",
    "SetPicture(imgstartp1, ImageList1, 6)",
    "SetPicture(imgstartp2, ImageList1, 9)",
    "SetPicture(imgstartp3, ImageList1, 7)",
    "SetPicture(imgstartp4, ImageList1, 8)",
    "SetPicture(imgp1, ImageList1, 6)",
    "SetPicture(imgp2, ImageList1, 9)",
    "SetPicture(imgp3, ImageList1, 7)",
    "SetPicture(imgp4, ImageList1, 8)",
    "SelectOption(player2) -> changed",
    "SetVisible(imgstartp3, false)",
    "SetVisible(imgstartp4, false)",
    "Text(txtplayer1name)",
    "SetCaption(lblcurrentplayer, \"Player 1's Turn\")",
    "SetForeColor(lblcurrentplayer, (235, 79, 33))",
};
const std::vector<std::string> kStartUp =
    concat({kStartUpBeforeTheNames, kNamingWaitingTokens, {"News(\"Player 1's turn.\", kept)"}});

// New Game after a game in which another option than "2 Players" was chosen.
const std::vector<std::string> kNewGameBeforeTheNames = {
    "SetEnabled(Timer2, false)",
    "SetEnabled(Timer1, false)",
    "SetPicture(picdice, ImageList2, 7)",
    "SetMousePointer(Default)",
    "SetEnabled(player2, true)",
    "SetEnabled(player3, true)",
    "SetEnabled(player4, true)",
    "SetEnabled(txtplayer1name, true)",
    "SetEnabled(txtplayer2name, true)",
    "SetEnabled(txtplayer3name, true)",
    "SetEnabled(txtplayer4name, true)",
    "SetVisible(imgstartp3, false)",
    "SetVisible(imgstartp4, false)",
    "SetVisible(lblwinner, false)",
    "SetVisible(imgstartp1, true)",
    "SetVisible(imgstartp2, true)",
    "SetPicture(imgstartp1, ImageList1, 6)",
    "SetPicture(imgstartp2, ImageList1, 9)",
    "SetPicture(imgstartp3, ImageList1, 7)",
    "SetPicture(imgstartp4, ImageList1, 8)",
    "SelectOption(player2) -> changed",
    "SetVisible(imgstartp3, false)",
    "SetVisible(imgstartp4, false)",
    "Text(txtplayer1name)",
    "SetCaption(lblcurrentplayer, \"Player 1's Turn\")",
    "Move(Image1, 0, 10000, 980, 980)",
    "Move(Image2, 0, 10000, 980, 980)",
    "Move(Image3, 40, 10000, 980, 980)",
    "Move(Image4, 70, 10000, 980, 980)",
    "SetForeColor(lblcurrentplayer, (235, 79, 33))",
};
const std::vector<std::string> kNewGameFromOtherCount = concat(
    {kNewGameBeforeTheNames, kNamingWaitingTokens, {"News(\"New game. Player 1's turn.\")"}});

// New Game when "2 Players" is already selected: the option's handler does not run again.
std::vector<std::string> newGameWithTwoPlayersSelected() {
    std::vector<std::string> expected = kNewGameFromOtherCount;
    const auto select =
        std::find(expected.begin(), expected.end(), "SelectOption(player2) -> changed");
    *select = "SelectOption(player2) -> unchanged";
    expected.erase(select + 1, select + 3);
    return expected;
}

// A two-player game about to start, player 1 to move.
GameState freshGame() {
    GameState s;
    s.diceframe = 1;
    s.noofplayers = 2;
    s.currentplayer = 1;
    s.tokenrectp1 = {0, 9000, 980, 980};
    s.tokenrectp2 = {0, 9000, 980, 980};
    s.tokenrectp3 = {40, 9000, 980, 980};
    s.tokenrectp4 = {70, 9000, 980, 980};
    return s;
}

class StartUp : public GameFixture {};

TEST_F(StartUp, IssuesEveryRequestInOrderForAFreshTwoPlayerGameWithPlayerOneToMove) {
    game.Form_Load();
    EXPECT_THAT(window.log, ElementsAreArray(kStartUp));
    EXPECT_EQ(state(), freshGame());
    EXPECT_EQ(window.selectedOption(), Control::player2);
}

TEST_F(StartUp, WhoseTurnCaptionReadsTheNameBoxAsTypedEvenWhenEmpty) {
    for (const std::string name : {"<b>Ada</b> & \"Bo\"", ""}) {
        SCOPED_TRACE(name);
        window.type(Control::txtplayer1name, name);
        game.Form_Load();
        EXPECT_EQ(window[Control::lblcurrentplayer].caption, name + "'s Turn");
    }
}

class NewGame : public GameFixture {};

// A second press repeats the first one's requests, minus the option's handler; the winner's
// label is hidden, its flash stopped, and the die works again.
TEST_F(NewGame, AfterAWonFourPlayerGameIssuesEveryRequestInOrderAndTwiceIsAsOnce) {
    start(4);
    game.state().movetotalcountp1 = 97;
    game.state().tokenrectp1 = {2000, 0, 980, 980};
    roll(3);
    ASSERT_EQ(state().gameover, kTrue);
    window.clearLog();
    game.cmdnewgame_Click();
    EXPECT_THAT(window.log, ElementsAreArray(kNewGameFromOtherCount));
    const GameState once = state();
    window.clearLog();
    game.cmdnewgame_Click();
    EXPECT_EQ(state(), once);
    EXPECT_THAT(window.log, ElementsAreArray(newGameWithTwoPlayersSelected()));
    random.pushRoll(1);
    game.picdice_Click();
    EXPECT_TRUE(window[Control::Timer2].enabled);
}

TEST_F(NewGame, MidRollResetsTheRecordAndStopsTheRollSoNoPlayerOfTheNewGameMoves) {
    start(3);
    roll(4);
    roll(2);
    ASSERT_EQ(state().currentplayer, 3);
    random.pushRoll(5);
    game.picdice_Click();
    ticks(12);
    const GameState before = state();
    game.cmdnewgame_Click();

    GameState expected = freshGame();
    expected.dicevalue = before.dicevalue; // the die's face carries on
    EXPECT_EQ(state(), expected);
    EXPECT_FALSE(window[Control::Timer2].enabled);
    EXPECT_EQ(window.pointer(), MousePointer::Default);

    // The new game's first roll is a whole one of its own, for player 1.
    roll(3);
    EXPECT_EQ(state().movetotalcountp1, 3);
    EXPECT_EQ(state().movetotalcountp3, 0);
    EXPECT_EQ(state().currentplayer, 2);
}

TEST_F(NewGame, KeepsNamesAndUsesTheNamesAsTypedNow) {
    start();
    roll(3);
    window.type(Control::txtplayer1name, "Zoë");
    game.cmdnewgame_Click();
    EXPECT_EQ(window[Control::lblcurrentplayer].caption, "Zoë's Turn");
    EXPECT_EQ(window[Control::lblcurrentplayer].foreColour, (Rgb{235, 79, 33}));
    EXPECT_EQ(window.all<op::News>().back().text, "New game. Zoë's turn.");
    EXPECT_EQ(window[Control::Image1].accessibleName, "Token of Zoë, not on the board");
    // Names typed before the first roll reach the waiting tokens when the die locks them; a
    // blank box is heard as its player's number. Only the players taking part have tokens to
    // name.
    window.type(Control::txtplayer1name, " ");
    window.type(Control::txtplayer2name, "Ben");
    window.type(Control::txtplayer3name, "Cleo");
    clickOption(window, game, Control::player3);
    random.pushRoll(1);
    game.picdice_Click();
    EXPECT_EQ(window[Control::Image1].accessibleName, "Token of Player 1, not on the board");
    EXPECT_EQ(window[Control::Image2].accessibleName, "Token of Ben, not on the board");
    EXPECT_EQ(window[Control::Image3].accessibleName, "Token of Cleo, not on the board");
    EXPECT_EQ(window[Control::Image4].accessibleName, "");
}

class PlayerCount : public GameFixture {};

// Each handler selects its own option, already selected, so that it does not run again.
TEST_F(PlayerCount, ThreeAndFourShowTheirStartTokensAndSelectThemselvesWithoutRecursion) {
    start();
    window.selectOption(Control::player3);
    window.clearLog();
    game.player3_Click();
    EXPECT_THAT(window.log,
                ElementsAre("SetVisible(imgstartp3, false)", "SetVisible(imgstartp4, false)",
                            "SetVisible(imgstartp3, true)", "SelectOption(player3) -> unchanged"));
    EXPECT_EQ(state().noofplayers, 3);
    window.selectOption(Control::player4);
    window.clearLog();
    game.player4_Click();
    EXPECT_THAT(window.log,
                ElementsAre("SetVisible(imgstartp3, false)", "SetVisible(imgstartp4, false)",
                            "SelectOption(player4) -> unchanged", "SetVisible(imgstartp3, true)",
                            "SetVisible(imgstartp4, true)"));
    EXPECT_EQ(state().noofplayers, 4);
}

TEST_F(PlayerCount, LeavesTurnSquaresNamesAndBoardAlone) {
    start();
    roll(3);
    game.cmdnewgame_Click();
    game.state().movetotalcountp1 = 12;
    const GameState before = state();
    window.clearLog();
    clickOption(window, game, Control::player4);
    GameState expected = before;
    expected.noofplayers = 4;
    EXPECT_EQ(state(), expected);
    for (const std::string& entry : window.log)
        EXPECT_EQ(entry.find("Image"), std::string::npos) << entry;
}

using Exit = GameFixture;

TEST_F(Exit, ClosesTheWindowAtOnce) {
    start();
    game.cmdexit_Click();
    EXPECT_THAT(window.log, ElementsAre("Close()"));
}

} // namespace
} // namespace tavlo::testing
