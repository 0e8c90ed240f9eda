// SPDX-License-Identifier: GPL-3.0-or-later
// The die, its roll animation, whose turn it is, and the winner flash.
#include "support/game_fixture.h"

#include "game/board.h"

#include <gmock/gmock.h>

namespace tavlo::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::Not;
using ::testing::StartsWith;

std::vector<int> dieFacesShown(const RecordingWindow& window) {
    std::vector<int> faces;
    for (const op::SetPicture& p : window.all<op::SetPicture>())
        if (p.control == Control::picdice && p.index != kRestingDie)
            faces.push_back(p.index);
    return faces;
}

class Shuffle : public GameFixture {};

// The draws at both ends of [0, 1) give faces 6 and 1.
TEST_F(Shuffle, RedrawsFromTheFirstSlotOnEveryClashAndReseedsOncePerSlot) {
    random.push(0.999999999);
    random.pushFaces({6, 2, 2, 6, 5});
    random.push(0.0);
    random.pushFaces({4, 3, 1}); // the 1 is left over
    game.common().shuffledice();
    const DiceSequence& d = game.common().dicesequence;
    EXPECT_THAT((std::vector<int>{d(1), d(2), d(3), d(4), d(5), d(6)}),
                ElementsAre(6, 2, 5, 1, 4, 3));
    EXPECT_EQ(random.next(), ScriptedRandom::valueFor(1));
    EXPECT_EQ(random.reseeds, 6);
}

class Roll : public GameFixture {};

// A whole roll of player 1's, from the click to the news of the move.
TEST_F(Roll, LocksTheSetupShowsTwentyFacesCyclingTheOrderAndMovesByTheSecondFace) {
    start();
    random.pushFaces({2, 4, 1, 3, 5, 6});
    game.picdice_Click();
    EXPECT_THAT(window.log,
                ElementsAreArray(concat(
                    {{"SetEnabled(player2, false)", "SetEnabled(player3, false)",
                      "SetEnabled(player4, false)", "SetEnabled(txtplayer1name, false)",
                      "SetEnabled(txtplayer2name, false)", "SetEnabled(txtplayer3name, false)",
                      "SetEnabled(txtplayer4name, false)", "SetEnabled(Timer2, true)",
                      "SetMousePointer(Busy)"},
                     kNamingWaitingTokens})));
    for (int tick = 1; tick < kRollTicks; ++tick) {
        game.Timer2_Timer();
        ASSERT_EQ(state().rollticks, tick);
    }
    EXPECT_THAT(dieFacesShown(window),
                ElementsAre(2, 4, 1, 3, 5, 6, 2, 4, 1, 3, 5, 6, 2, 4, 1, 3, 5, 6, 2));
    EXPECT_TRUE(window[Control::Timer2].enabled);
    window.clearLog();
    game.Timer2_Timer();
    EXPECT_THAT(
        window.log,
        ElementsAre(
            "SetPicture(picdice, ImageList2, 4)", "SetEnabled(Timer2, false)", "Pause(500)",
            "SetVisible(imgstartp1, false)", "SetPicture(Image1, ImageList1, 6)",
            "Text(txtplayer1name)", "SetToolTip(Image1, \"Player 1\")",
            "Move(Image1, 0, 9000, 980, 980)", "Pause(500)", "Move(Image1, 1000, 9000, 980, 980)",
            "Pause(500)", "Move(Image1, 2000, 9000, 980, 980)", "Pause(500)",
            "Move(Image1, 3000, 9000, 980, 980)", "Pause(500)",
            "SetPicture(picdice, ImageList2, 7)", "SetForeColor(lblcurrentplayer, (107, 201, 67))",
            "Text(txtplayer2name)", "SetCaption(lblcurrentplayer, \"Player 2's  Turn\")",
            "SetMousePointer(Default)", "Text(txtplayer1name)", "Text(txtplayer2name)",
            "SetAccessibleName(Image1, \"Token of Player 1, square 4\")",
            "News(\"Player 1 rolled 4 and moved to square 4. Player 2's turn.\")"));
    EXPECT_EQ(state().diceframe, 1);
    EXPECT_EQ(state().rollticks, 0);
}

struct NarrationCase {
    const char* label;
    int mover, from, roll;
    std::string description, token;
};

class Narration : public GameFixture, public ::testing::WithParamInterface<NarrationCase> {};

TEST_P(Narration, TellsTheMoveAndTheMoversSquareWithNamesAsTyped) {
    const NarrationCase& c = GetParam();
    start(3);
    window.type(Control::txtplayer1name, "Ada");
    window.type(Control::txtplayer2name, "<i>Ben</i> & co");
    window.type(Control::txtplayer3name, "Cleo");
    PlayerFields f = fieldsOf(game.state(), c.mover);
    f.square = static_cast<std::int16_t>(c.from);
    const BoardPoint next = squareOrigin(c.from + 1);
    f.rect = {next.left, next.top, 980, 980};
    game.state().currentplayer = static_cast<std::int16_t>(c.mover);
    if (c.label == std::string("BlankNameIsPlayerN"))
        window.type(player(c.mover).nameBox, "  ");
    roll(c.roll);
    const auto told = window.all<op::News>();
    ASSERT_EQ(told.size(), 1u) << "the move must be told once, when it ends";
    EXPECT_EQ(told[0], (op::News{c.description, true}));
    EXPECT_EQ(window[player(c.mover).boardToken].accessibleName, c.token);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKindOfMove, Narration,
    ::testing::Values(
        NarrationCase{"Walk", 1, 8, 4,
                      "Ada rolled 4 and moved to square 12. <i>Ben</i> & co's turn.",
                      "Token of Ada, square 12"},
        NarrationCase{"BlankNameIsPlayerN", 3, 0, 2,
                      "Player 3 rolled 2 and moved to square 2. Ada's turn.",
                      "Token of Player 3, square 2"},
        NarrationCase{"Ladder", 1, 5, 3, "Ada rolled 3: ladder from 8 up to 31. Ada rolls again.",
                      "Token of Ada, square 31"},
        NarrationCase{"Snake", 2, 50, 5,
                      "<i>Ben</i> & co rolled 5: snake from 55 down to 13. Cleo's turn.",
                      "Token of <i>Ben</i> & co, square 13"},
        NarrationCase{
            "Win", 1, 98, 2,
            "Ada rolled 2 and reached square 100. Ada wins. Press New Game to play again.",
            "Token of Ada, square 100"},
        NarrationCase{
            "WinPastHundred", 3, 98, 6,
            "Cleo rolled 6 and reached square 100. Cleo wins. Press New Game to play again.",
            "Token of Cleo, square 100"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(Roll, SecondClickReshufflesButTheRollStillEndsTwentyTicksAfterTheFirst) {
    start();
    random.pushFaces({1, 2, 3, 4, 5, 6});
    game.picdice_Click();
    ticks(9); // shows 1..6, 1, 2, 3; diceframe is now 4
    random.pushFaces({6, 5, 4, 3, 2, 1});
    game.picdice_Click();
    EXPECT_EQ(state().diceframe, 1);
    EXPECT_EQ(state().rollticks, 9);
    ticks(10);
    EXPECT_TRUE(window[Control::Timer2].enabled);
    game.Timer2_Timer(); // the 20th tick shows the new order's 11th face: slot 5
    EXPECT_THAT(dieFacesShown(window),
                ElementsAre(1, 2, 3, 4, 5, 6, 1, 2, 3, 6, 5, 4, 3, 2, 1, 6, 5, 4, 3, 2));
    EXPECT_EQ(state().movetotalcountp1, 2);
    EXPECT_FALSE(window[Control::Timer2].enabled);
}

// The whose-turn label's colour on each player's turn.
constexpr Rgb kTurnColours[] = {{235, 79, 33}, {107, 201, 67}, {117, 186, 255}, {240, 211, 145}};

using TurnOrder = GameFixture;

// The label reads the name box as typed, even an empty one.
TEST_F(TurnOrder, PassesInSeatOrderWithTheNextPlayersColourAndName) {
    start();
    window.type(Control::txtplayer4name, "");
    for (int players = 2; players <= 4; ++players) {
        game.cmdnewgame_Click();
        choosePlayers(players);
        for (int i = 0; i < 2 * players; ++i) {
            const int mover = i % players + 1;
            const int next = mover % players + 1;
            const std::int16_t before = fieldsOf(game.state(), mover).square;
            roll(1); // one square, never onto a snake or ladder from the start
            ASSERT_EQ(fieldsOf(game.state(), mover).square, before + 1) << players << " players";
            EXPECT_EQ(state().currentplayer, next);
            EXPECT_EQ(window[Control::lblcurrentplayer].foreColour, kTurnColours[next - 1]);
            EXPECT_EQ(window[Control::lblcurrentplayer].caption,
                      (next == 4 ? "" : "Player " + std::to_string(next)) + "'s  Turn");
        }
    }
}

class ExtraTurn : public GameFixture {};

// The label names the mover again, in the colour it already has. Player 1's turn number passes
// through 0 on the way; the last player's must not wrap to player 1.
TEST_F(ExtraTurn, LadderKeepsTheTurnForTheFirstAndTheLastPlayer) {
    for (const int mover : {1, 3}) {
        SCOPED_TRACE(mover);
        start(3);
        game.state().currentplayer = static_cast<std::int16_t>(mover);
        PlayerFields f = fieldsOf(game.state(), mover);
        f.square = 5;
        f.rect = {5000, 9000, 980, 980};
        roll(3); // lands on the ladder at 8
        EXPECT_EQ(fieldsOf(game.state(), mover).square, 31);
        EXPECT_EQ(state().currentplayer, mover);
        EXPECT_EQ(state().playagain, 0);
        EXPECT_EQ(window[Control::lblcurrentplayer].caption,
                  "Player " + std::to_string(mover) + "'s  Turn");
        EXPECT_THAT(window.log, Not(Contains(StartsWith("SetForeColor(lblcurrentplayer"))));
        roll(2);
        EXPECT_EQ(fieldsOf(game.state(), mover).square, 33);
        EXPECT_EQ(state().currentplayer, mover % 3 + 1);
    }
}

using Win = GameFixture;

TEST_F(Win, FlashColourIsFloorOfTenMillionTimesTheDrawUnpackedRedLow) {
    start();
    random.push(0.0);
    random.push(0.1234567891);
    random.push(0.99999999999);
    for (int i = 0; i < 3; ++i)
        game.Timer1_Timer();
    EXPECT_EQ(random.reseeds, 0);
    const auto colours = window.all<op::SetForeColor>();
    ASSERT_EQ(colours.size(), 3u);
    EXPECT_EQ(colours[0].colour, unpackColour(0));
    EXPECT_EQ(colours[1].colour, unpackColour(1234567));
    EXPECT_EQ(colours[1].colour, (Rgb{0x87, 0xD6, 0x12}));
    EXPECT_EQ(colours[2].colour, unpackColour(9999999));
    EXPECT_EQ(colours[2].colour, (Rgb{0x7F, 0x96, 0x98}));
    for (const auto& c : colours)
        EXPECT_EQ(c.control, Control::lblwinner);
}

} // namespace
} // namespace tavlo::testing
