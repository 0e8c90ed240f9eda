// SPDX-License-Identifier: GPL-3.0-or-later
// The walk of a token, snakes and ladders, and the win.
#include "support/game_fixture.h"

#include "game/board.h"

#include <gmock/gmock.h>

namespace tavlo::testing {
namespace {

using ::testing::ElementsAre;

class Movement : public GameFixture {
protected:
    void SetUp() override { start(4); }

    // Puts player n on `square` with its rectangle on the next square, as play would leave it.
    void place(int n, int square, std::int16_t offset) {
        PlayerFields f = fieldsOf(game.state(), n);
        f.square = static_cast<std::int16_t>(square);
        const BoardPoint next = squareOrigin(square + 1);
        f.rect = {static_cast<std::int16_t>(next.left + offset), next.top, 980, 980};
    }
    static std::int16_t offsetOf(int n) { return player(n).startRect.Left; }

    // What the roll cycle does for a mover: store the roll, add it, call moveonboard.
    void move(int n, int roll) {
        const PlayerBinding& p = player(n);
        PlayerFields f = fieldsOf(game.state(), n);
        f.lastRoll = static_cast<std::int16_t>(roll);
        f.square = static_cast<std::int16_t>(f.square + roll);
        window.clearLog();
        game.moveonboard(p.startToken, p.boardToken, f.rect.Left, f.rect.Top, f.rect.Width,
                         f.rect.Height, f.square, f.lastRoll, p.cookie, p.nameBox);
    }

    std::vector<BoardPoint> tokenStops(Control token) const {
        std::vector<BoardPoint> stops;
        for (const op::Move& m : window.all<op::Move>()) {
            EXPECT_EQ(m.control, token);
            stops.push_back({m.left, m.top});
        }
        return stops;
    }
    BoardPoint rectOf(int n) {
        const TokenRect& r = fieldsOf(game.state(), n).rect;
        return {r.Left, r.Top};
    }
};

TEST_F(Movement, EveryStepStandsOnItsSquareAcrossTheWholeBoard) {
    // Rolls chosen to land beside every snake and ladder, so the walk alone carries each token,
    // with its player's offset, from the start area to square 100, through every row corner (one
    // walk ends on one, 70, and the next starts from the rectangle it left) and over snakes and
    // ladders it does not land on. (The requests of one walk in order: dice_test.cpp.)
    for (int n = 1; n <= 4; ++n) {
        window.type(player(n).nameBox, "Ann");
        int square = 0;
        while (square < 100) {
            int roll = std::min(6, 100 - square);
            while (jumpFrom(square + roll))
                --roll;
            move(n, roll);
            const auto stops = tokenStops(player(n).boardToken);
            ASSERT_EQ(stops.size(), static_cast<std::size_t>(roll));
            for (int step = 0; step < roll; ++step) {
                const BoardPoint origin = squareOrigin(square + step + 1);
                ASSERT_EQ(
                    stops[step],
                    (BoardPoint{static_cast<std::int16_t>(origin.left + offsetOf(n)), origin.top}))
                    << "player " << n << " on square " << square + step + 1;
            }
            ASSERT_EQ(state().playagain, 0) << "no ladder was landed on";
            square += roll;
        }
        // Landing exactly on 100 wins, under the name as typed.
        const std::string box(controlName(player(n).nameBox));
        const std::vector<std::string> tail(window.log.end() - 6, window.log.end());
        EXPECT_THAT(
            tail, ElementsAre("SetPicture(picdice, ImageList2, 7)", "SetVisible(lblwinner, true)",
                              "SetBackColor(lblwinner, (0, 0, 25))", "Text(" + box + ")",
                              "SetCaption(lblwinner, \"Ann  Wins\")", "SetEnabled(Timer1, true)"));
        EXPECT_EQ(state().gameover, kTrue);
        game.state().gameover = kFalse;
    }
}

class Jumps : public Movement, public ::testing::WithParamInterface<std::tuple<Jump, int>> {};

TEST_P(Jumps, PutTheTokenOnTheTargetLabelWithoutOffsetAndTheRectangleOnTheNextSquare) {
    const auto& [jump, n] = GetParam();
    place(n, jump.from - 1, offsetOf(n));
    game.state().currentplayer = static_cast<std::int16_t>(n);
    move(n, 1);

    const auto stops = tokenStops(player(n).boardToken);
    ASSERT_EQ(stops.size(), 2u);
    EXPECT_EQ(stops.back(), squareOrigin(jump.to));
    EXPECT_THAT(window.log, ::testing::Contains("LabelPosition(" + std::to_string(jump.to) + ")"));
    EXPECT_EQ(rectOf(n), squareOrigin(jump.to + 1));
    EXPECT_EQ(fieldsOf(game.state(), n).square, jump.to);
    EXPECT_EQ(state().playagain, jump.isLadder() ? kTrue : kFalse);
    EXPECT_EQ(state().currentplayer, jump.isLadder() ? n - 1 : n);
    EXPECT_EQ(state().gameover, 0);
    EXPECT_EQ(window[Control::picdice].picture,
              (op::SetPicture{Control::picdice, ImageList::ImageList2, kRestingDie}));
}

// The board's snakes and ladders, written out here rather than taken from the rules' own table.
INSTANTIATE_TEST_SUITE_P(
    EverySnakeAndLadderForEveryPlayer, Jumps,
    ::testing::Combine(::testing::Values(Jump{8, 31}, Jump{15, 97}, Jump{24, 1}, Jump{42, 81},
                                         Jump{55, 13}, Jump{66, 87}, Jump{71, 29}, Jump{88, 67},
                                         Jump{99, 6}),
                       ::testing::Values(1, 2, 3, 4)),
    [](const auto& info) {
        const Jump& jump = std::get<0>(info.param);
        return "From" + std::to_string(jump.from) + "To" + std::to_string(jump.to) + "Player" +
               std::to_string(std::get<1>(info.param));
    });

TEST_F(Movement, JumpWithAnUnknownPawnMovesTheTokenButNoSquare) {
    place(1, 7, 0);
    PlayerFields f = fieldsOf(game.state(), 1);
    f.square = 8;
    f.lastRoll = 1;
    game.moveonboard(Control::imgstartp1, Control::Image1, f.rect.Left, f.rect.Top, f.rect.Width,
                     f.rect.Height, f.square, f.lastRoll, 5, Control::txtplayer1name);
    EXPECT_EQ(state().movetotalcountp1, 8);
    EXPECT_EQ(rectOf(1), (BoardPoint{8000, 6000}));
}

// The whose-turn label still passes on; later presses on the die move nothing and only tell
// who has won.
TEST_F(Movement, LandingPastHundredWinsWithTheTokenKeptInSightOnSquareHundred) {
    place(4, 98, offsetOf(4));
    game.state().currentplayer = 4;
    roll(6);
    EXPECT_THAT(tokenStops(Control::Image4),
                ElementsAre(BoardPoint{1070, 0}, BoardPoint{70, 0}, BoardPoint{70, 0},
                            BoardPoint{70, 0}, BoardPoint{70, 0}, BoardPoint{70, 0}));
    EXPECT_EQ(window.all<op::Pause>().size(), 7u); // one before the walk, one after each step
    // The numbers carry on above the board: the sixth step would have stood at 3070, -1000.
    EXPECT_EQ(rectOf(4), (BoardPoint{4070, -1000}));
    EXPECT_EQ(state().movetotalcountp4, 104);
    EXPECT_EQ(state().gameover, kTrue);
    EXPECT_EQ(window[Control::lblwinner].caption, "Player 4  Wins");
    EXPECT_EQ(state().currentplayer, 1);
    EXPECT_EQ(window[Control::lblcurrentplayer].caption, "Player 1's  Turn");
    EXPECT_EQ(window[Control::lblcurrentplayer].foreColour, (Rgb{235, 79, 33}));
    EXPECT_EQ(window.pointer(), MousePointer::Default);
    window.clearLog();
    game.picdice_Click();
    game.picdice_Click();
    const std::string told = "News(\"Player 4 wins. Press New Game to play again.\")";
    EXPECT_THAT(window.log,
                ElementsAre("Text(txtplayer4name)", told, "Text(txtplayer4name)", told));
}

} // namespace
} // namespace tavlo::testing
