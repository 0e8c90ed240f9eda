// SPDX-License-Identifier: GPL-3.0-or-later
// A screen reader can follow a game: the die says what it shows, the labels say their text,
// and the keyboard moves through the controls in the window's tab order.
#include "window_fixture.h"

#include <QAccessible>
#include <QApplication>

namespace tavlo::testing {
namespace {

QString accessibleName(QWidget* w) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    return face ? face->text(QAccessible::Name) : QString();
}

using Accessibility = WindowFixture;

TEST_F(Accessibility, DieSaysWhichFaceItShows) {
    QWidget* die = widget(Control::picdice);
    EXPECT_EQ(accessibleName(die), QStringLiteral("Die at rest, click to roll"));
    EXPECT_FALSE(die->accessibleDescription().isEmpty());
    random.pushOrder({2, 5, 1, 3, 4, 6});
    click(Control::picdice);
    ASSERT_TRUE(QTest::qWaitFor([&] { return accessibleName(die) == "Die showing 2"; }, 2000));
    QSignalSpy finished(window.get(), &ui::frmmain::moveFinished);
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_EQ(accessibleName(die), QStringLiteral("Die at rest, click to roll"));
}

TEST_F(Accessibility, LabelsSayTheirCurrentText) {
    EXPECT_EQ(accessibleName(widget(Control::lblcurrentplayer)), QStringLiteral("Player 1's Turn"));
    rollAndWait(2);
    EXPECT_EQ(accessibleName(widget(Control::lblcurrentplayer)),
              QStringLiteral("Player 2's  Turn"));
    EXPECT_EQ(accessibleName(widget(Control::txtplayer3name)), QStringLiteral("Name of player 3"));
    EXPECT_EQ(accessibleName(widget(Control::Image1)), QStringLiteral("Token of player 1"));
}

TEST_F(Accessibility, TabMovesThroughTheControlsInTheWindowsOrder) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    widget(Control::pictureboard)->setFocus();
    QStringList order{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 10; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    // Of the three options, only the selected one takes the focus by Tab.
    EXPECT_EQ(order, (QStringList{"pictureboard", "picdice", "player2", "txtplayer1name",
                                  "txtplayer2name", "txtplayer3name", "txtplayer4name",
                                  "cmdnewgame", "cmdexit", "Command1", "Command2"}));
}

} // namespace
} // namespace tavlo::testing
