// SPDX-License-Identifier: GPL-3.0-or-later
// Playing without a mouse: the die takes the focus and rolls on Space, Enter or a screen
// reader's press action; a screen reader hears what each move did, not the die's faces; the
// labels say their text; the keyboard moves through the controls in the window's tab order,
// and the die and the board show where the focus is.
#include "window_fixture.h"

#include <QAccessible>
#include <QApplication>
#include <QRadioButton>

namespace tavlo::testing {
namespace {

QString accessibleText(QWidget* w, QAccessible::Text kind = QAccessible::Name) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    return face ? face->text(kind) : QString();
}

using Accessibility = WindowFixture;

TEST_F(Accessibility, DieIsAButtonWhosePressRollsAndWhoseDescriptionTellsTheMove) {
    QWidget* die = widget(Control::picdice);
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(die);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::Button);
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("Roll the die"));
    EXPECT_EQ(face->text(QAccessible::Description), QStringLiteral("Player 1's turn."));
    QAccessibleActionInterface* actions = face->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));

    // (Whether the change events reach a screen reader is checked on the real accessibility
    // bus, by tests/xvfb/accessibility_bus_test.sh: off screen, Qt sends none.)
    random.pushRoll(3);
    QSignalSpy finished(window.get(), &ui::frmmain::moveFinished);
    actions->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->game().state().rollticks >= 3; }, 2000))
        << "the press action did not roll the die";
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("Roll the die"))
        << "a screen reader must not read out every face";
    EXPECT_EQ(face->text(QAccessible::Description), QStringLiteral("Player 1's turn."));
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("Roll the die"));
    EXPECT_EQ(face->text(QAccessible::Description),
              QStringLiteral("Player 1 rolled 3 and moved to square 3. Player 2's turn."));
    EXPECT_EQ(accessibleText(widget(Control::Image1)),
              QStringLiteral("Token of Player 1, square 3"));
}

TEST_F(Accessibility, LabelsAndTokensSayTheirCurrentText) {
    EXPECT_EQ(accessibleText(widget(Control::lblcurrentplayer)), QStringLiteral("Player 1's Turn"));
    EXPECT_EQ(accessibleText(widget(Control::Image2)),
              QStringLiteral("Token of player 2, not on the board"));
    rollAndWait(2);
    EXPECT_EQ(accessibleText(widget(Control::lblcurrentplayer)),
              QStringLiteral("Player 2's  Turn"));
    EXPECT_EQ(accessibleText(widget(Control::txtplayer3name)), QStringLiteral("Name of player 3"));
    EXPECT_EQ(accessibleText(widget(Control::Image1)),
              QStringLiteral("Token of Player 1, square 2"));
    click(Control::cmdnewgame);
    EXPECT_EQ(accessibleText(widget(Control::Image1)),
              QStringLiteral("Token of player 1, not on the board"));
}

TEST_F(Accessibility, WindowOpensWithTheFocusOnTheDieAndSpaceOrEnterRollsIt) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QWidget* die = widget(Control::picdice);
    EXPECT_EQ(QApplication::focusWidget(), die);
    const QImage focused = die->grab().toImage();
    EXPECT_EQ(focused.pixelColor(1, 1), ui::kFocusColour);
    EXPECT_EQ(focused.pixelColor(focused.width() - 2, focused.height() / 2), ui::kFocusColour);

    const std::pair<Qt::Key, int> presses[] = {{Qt::Key_Space, 2}, {Qt::Key_Return, 5}};
    for (const auto& [key, face] : presses) {
        random.pushRoll(face);
        QSignalSpy finished(window.get(), &ui::frmmain::moveFinished);
        QTest::keyClick(die, key);
        EXPECT_TRUE(window->timer(Control::Timer2).isActive()) << key;
        ASSERT_TRUE(finished.wait(5000)) << key;
    }
    EXPECT_EQ(window->game().state().movetotalcountp1, 2);
    EXPECT_EQ(window->game().state().movetotalcountp2, 5);
}

TEST_F(Accessibility, TabMovesThroughTheControlsInTheWindowsOrderAndTheFocusShows) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    widget(Control::pictureboard)->setFocus();
    const QImage board = window->board().grab().toImage();
    EXPECT_EQ(board.pixelColor(1, board.height() / 2 + 20), ui::kFocusColour);
    EXPECT_EQ(board.pixelColor(board.width() / 2, board.height() - 2), ui::kFocusColour);
    EXPECT_EQ(widget(Control::picdice)->grab().toImage().pixelColor(1, 1), QColor(0, 0, 25))
        << "only the focused control shows the ring";

    QStringList order{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 10; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    // Of the three options, only the selected one takes the focus by Tab.
    EXPECT_EQ(order, (QStringList{"pictureboard", "picdice", "player2", "txtplayer1name",
                                  "txtplayer2name", "txtplayer3name", "txtplayer4name",
                                  "cmdnewgame", "cmdexit", "Command1", "Command2"}));
    // Backwards into the options, also after New Game has selected another one than last had
    // the focus: the selected option takes it.
    widget(Control::player2)->setFocus();
    QTest::keyClick(widget(Control::player2), Qt::Key_Down);
    EXPECT_TRUE(widget<QRadioButton>(Control::player3)->isChecked());
    click(Control::cmdnewgame);
    widget(Control::txtplayer1name)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), widget(Control::player2));
    const QImage unfocused = window->board().grab().toImage();
    EXPECT_EQ(unfocused.pixelColor(1, unfocused.height() / 2 + 20), QColor(Qt::white));
}

} // namespace
} // namespace tavlo::testing
