// SPDX-License-Identifier: GPL-3.0-or-later
// Playing in the real window: the die through its real timer, moves played out on screen,
// input during a move, a whole game to a win. (Names and the token's tooltip: names_test.cpp;
// the options' clicks: startup_window_test.cpp.)
#include "window_fixture.h"

#include <QElapsedTimer>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace tavlo::testing {
namespace {

// How many pixels of a control's text area are drawn exactly in `colour`: for an option, the
// caption beside its indicator.
int textPixels(QWidget* w, const QColor& colour) {
    QRect area = w->rect();
    if (auto* option = qobject_cast<QRadioButton*>(w)) {
        QStyleOptionButton style;
        style.initFrom(option);
        style.text = option->text();
        area = w->style()->subElementRect(QStyle::SE_RadioButtonContents, &style, w);
    }
    const QImage shot = w->grab().toImage();
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += shot.pixelColor(x, y) == colour;
    return n;
}

using PlayingWindow = WindowFixture;

TEST_F(PlayingWindow, DieClickRollsTwentyTicksOnTheRealTimerThenWalksTheToken) {
    random.pushRoll(4);
    QSignalSpy finished(window.get(), &ui::frmmain::moveFinished);
    QElapsedTimer clock;
    clock.start();
    click(Control::picdice);
    EXPECT_TRUE(window->timer(Control::Timer2).isActive());
    EXPECT_EQ(window->cursor().shape(), Qt::BusyCursor);
    // Locked options look locked: their captions take the locked name boxes' grey.
    const QColor locked =
        widget(Control::txtplayer1name)->palette().color(QPalette::Disabled, QPalette::Text);
    EXPECT_GT(textPixels(widget(Control::txtplayer1name), locked), 20);
    for (Control option : {Control::player2, Control::player3, Control::player4}) {
        EXPECT_GT(textPixels(widget(option), locked), 20) << controlName(option);
        EXPECT_EQ(textPixels(widget(option), Qt::white), 0) << controlName(option);
    }
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_GE(clock.elapsed(), 19 * 60); // twenty ticks 60 ms apart

    EXPECT_EQ(widget(Control::Image1)->pos(), onSquare(4));
    EXPECT_FALSE(widget(Control::imgstartp1)->isVisible());
    EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(shownPicture(Control::picdice).toImage(),
              window->imageList2().picture(kRestingDie).toImage());
}

// (What the labels say through the same game, whatever the names: names_test.cpp.)
TEST_F(PlayingWindow, WholeGameToAWinThenNewGame) {
    rollAndWait(6); // player 1 to 6
    rollAndWait(1); // player 2 to 1
    rollAndWait(6); // player 1 to 12
    rollAndWait(1); // player 2 to 2
    rollAndWait(3); // player 1 to 15: the ladder to 97 and another roll
    EXPECT_EQ(widget(Control::Image1)->pos(), onSquare(97));
    rollAndWait(3); // player 1 to 100
    EXPECT_EQ(widget(Control::Image1)->pos(), onSquare(100));

    auto* winner = widget<QLabel>(Control::lblwinner);
    EXPECT_TRUE(winner->isVisible());
    EXPECT_EQ(winner->palette().color(QPalette::Window), QColor(0, 0, 25));
    EXPECT_TRUE(window->timer(Control::Timer1).isActive());
    const QColor before = textColour(Control::lblwinner);
    random.push(0.5);
    random.push(0.25);
    QTest::qWait(250); // two flash ticks
    EXPECT_NE(textColour(Control::lblwinner), before);

    click(Control::cmdnewgame);
    EXPECT_FALSE(winner->isVisible());
    EXPECT_FALSE(window->timer(Control::Timer1).isActive()) << "the flash goes on unseen";
    for (Control option : {Control::player2, Control::player3, Control::player4})
        EXPECT_GT(textPixels(widget(option), Qt::white), 20) << controlName(option);
    random.pushRoll(2);
    click(Control::picdice);
    EXPECT_TRUE(window->timer(Control::Timer2).isActive());
}

class WindowDuringAMove : public WindowFixture {
protected:
    // Pauses a tenth as long, so a move lasts long enough to click into it.
    void SetUp() override {
        open([](int ms) { return ms / 10; });
    }

    void startMoveAndWaitForTheWalk(int face) {
        random.pushRoll(face);
        click(Control::picdice);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->isPlaying(); }, 5000));
    }
};

TEST_F(WindowDuringAMove, ClicksAndKeysAreDroppedUntilTheMoveIsOnScreen) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    startMoveAndWaitForTheWalk(6);
    const GameState during = window->game().state();
    click(Control::cmdnewgame);
    click(Control::picdice);
    QTest::keyClick(widget(Control::picdice), Qt::Key_Space);
    QTest::keyClick(widget(Control::picdice), Qt::Key_Return);
    QTest::keyClick(widget(Control::picdice), Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(widget(Control::picdice), Qt::Key_N, Qt::ControlModifier); // New Game
    QTest::keyClicks(widget(Control::txtplayer1name), "zz");
    EXPECT_EQ(window->game().state(), during);
    EXPECT_FALSE(window->timer(Control::Timer2).isActive());

    QSignalSpy finished(window.get(), &ui::frmmain::moveFinished);
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_FALSE(window->timer(Control::Timer2).isActive()) << "a click or key was kept for later";
    EXPECT_EQ(widget(Control::Image1)->pos(), onSquare(6));
    EXPECT_EQ(window->game().state().movetotalcountp1, 6);
    click(Control::cmdnewgame); // taken again once the move is over
    EXPECT_EQ(window->game().state().movetotalcountp1, 0);
}

TEST_F(WindowDuringAMove, TokenStandsOnEachSquareOfTheWalkInTurn) {
    std::vector<QPoint> seen;
    QWidget* token = widget(Control::Image1);
    const QPoint before = token->pos();
    random.pushRoll(5);
    QSignalSpy finished(window.get(), &ui::frmmain::moveFinished);
    click(Control::picdice);
    while (finished.isEmpty() && seen.size() < 100) {
        if (seen.empty() || seen.back() != token->pos())
            seen.push_back(token->pos());
        QTest::qWait(5);
    }
    ASSERT_FALSE(finished.isEmpty());
    EXPECT_EQ(seen, (std::vector<QPoint>{before, onSquare(1), onSquare(2), onSquare(3), onSquare(4),
                                         onSquare(5)}));
}

TEST_F(WindowDuringAMove, ExitEndsAtOnceEvenMidWalk) {
    startMoveAndWaitForTheWalk(6);
    click(Control::cmdexit);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->isPlaying());
    QTest::qWait(100); // nothing left to play out on a closed window
}

TEST_F(WindowDuringAMove, ClosingMidRollStopsTheRoll) {
    random.pushRoll(3);
    click(Control::picdice);
    QTest::qWait(200);
    ASSERT_TRUE(window->timer(Control::Timer2).isActive());
    window->close();
    EXPECT_FALSE(window->timer(Control::Timer2).isActive());
    EXPECT_FALSE(window->isVisible());
}

} // namespace
} // namespace tavlo::testing
