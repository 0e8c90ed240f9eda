// SPDX-License-Identifier: GPL-3.0-or-later
// Playing without a mouse: the die takes the focus and rolls on Space, Enter or a screen
// reader's press action; a screen reader hears what each move did, not the die's faces; the
// labels say their text; the keyboard moves through the controls in the window's tab order,
// and the die and the board show where the focus is.
#include "window_fixture.h"

#include <QAccessible>
#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <qpa/qwindowsysteminterface.h>

namespace tavlo::testing {
namespace {

QString accessibleText(QWidget* w) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    return face ? face->text(QAccessible::Name) : QString();
}

// Counts the times a widget appears: for the announcer, the sentences a screen reader speaks.
class ShowCounter : public QObject {
public:
    int shows = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        shows += event->type() == QEvent::Show;
        return false;
    }
};

class Accessibility : public WindowFixture {
protected:
    void SetUp() override {
        WindowFixture::SetUp();
        announcer()->installEventFilter(&announced);
    }
    QWidget* announcer() const { return window->findChild<QWidget*>(QStringLiteral("announcer")); }
    void activate() {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    ShowCounter announced;
};

// Where a screen reader hears a description's change (Qt 6.5 and later), the die's description
// would tell each move a second time: it tells nothing (a screen reader reads its tooltip), and
// the announcer alone tells the news. Elsewhere the description tells them as well, and New Game
// from its button, which hands the focus to the die, leaves them to it: the die reads them out.
class News : public Accessibility, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        ui::ScreenReaderChannels channels;
        channels.descriptionChangeIsSpoken = GetParam();
        open([](int) { return 0; }, channels);
        announcer()->installEventFilter(&announced);
    }
    QString described(const char* news) const {
        return GetParam() ? QStringLiteral("Dice") : QString::fromUtf8(news);
    }
};

TEST_P(News, DieIsAButtonWhosePressRollsAndTheNewsAreToldOnce) {
    activate();
    QWidget* die = widget(Control::picdice);
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(die);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->role(), QAccessible::Button);
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("Roll the die"));
    EXPECT_EQ(face->text(QAccessible::Description), described("Player 1's turn."));
    QAccessibleActionInterface* actions = face->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));

    // (Whether the change events reach a screen reader is checked on the real accessibility
    // bus, by tests/xvfb/accessibility_bus_test.sh: off screen, Qt sends none.)
    rollAndWait(3, [&] {
        actions->doAction(QAccessibleActionInterface::pressAction());
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->game().state().rollticks >= 3; }, 2000))
            << "the press action did not roll the die";
        EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("Roll the die"))
            << "a screen reader must not read out every face";
        EXPECT_EQ(face->text(QAccessible::Description), described("Player 1's turn."));
        EXPECT_EQ(announced.shows, 0) << "nothing is announced while the die rolls";
    });
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("Roll the die"));
    const char* told = "Player 1 rolled 3 and moved to square 3. Player 2's turn.";
    EXPECT_EQ(face->text(QAccessible::Description), described(told));
    EXPECT_EQ(announced.shows, 1);
    EXPECT_EQ(accessibleText(announcer()), QString::fromUtf8(told));

    widget(Control::cmdnewgame)->setFocus();
    QTest::keyClick(widget(Control::cmdnewgame), Qt::Key_Space);
    EXPECT_EQ(window->game().state().movetotalcountp1, 0);
    EXPECT_EQ(QApplication::focusWidget(), die);
    const char* news = "New game. Player 1's turn.";
    EXPECT_EQ(face->text(QAccessible::Description), described(news));
    EXPECT_EQ(announced.shows, GetParam() ? 2 : 1);
    EXPECT_EQ(accessibleText(announcer()), QString::fromUtf8(GetParam() ? news : told));
}

INSTANTIATE_TEST_SUITE_P(WhereADescriptionChange, News, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "IsSpoken" : "IsNotSpoken"; });

TEST_F(Accessibility, ControlsSayWhatTheyAreAndLabelsAndTokensTheirCurrentText) {
    EXPECT_EQ(accessibleText(window.get()), QStringLiteral("Tavlo"));
    // The title bars over the panels are headings, with nothing to press, whose text is their
    // caption: a screen reader reads a heading's text.
    for (Control c : {Control::Command1, Control::Command2}) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget(c));
        EXPECT_EQ(face->role(), QAccessible::Heading) << controlName(c);
        EXPECT_EQ(face->text(QAccessible::Name), widget<QPushButton>(c)->text());
        QAccessibleTextInterface* text = face->textInterface();
        ASSERT_NE(text, nullptr) << controlName(c);
        EXPECT_EQ(text->text(0, text->characterCount()), widget<QPushButton>(c)->text());
        QAccessibleActionInterface* actions = face->actionInterface();
        EXPECT_FALSE(actions &&
                     actions->actionNames().contains(QAccessibleActionInterface::pressAction()))
            << controlName(c);
    }
    EXPECT_EQ(QAccessible::queryAccessibleInterface(announcer())->role(),
              QAccessible::Notification);
    // The options and the name boxes are in named groups, which a screen reader says on entering.
    const QAccessibleInterface* options =
        QAccessible::queryAccessibleInterface(widget(Control::player2))->parent();
    EXPECT_EQ(options->role(), QAccessible::Grouping);
    EXPECT_EQ(options->text(QAccessible::Name), QStringLiteral("Number of players"));
    EXPECT_FALSE(announcer()->isVisible()) << "nothing to announce yet";

    EXPECT_EQ(accessibleText(widget(Control::lblcurrentplayer)), QStringLiteral("Player 1's Turn"));
    // The tokens of players who take no part are not there for a screen reader, until they do.
    auto present = [this](Control token) {
        return !QAccessible::queryAccessibleInterface(widget(token))->state().invisible;
    };
    EXPECT_TRUE(present(Control::Image2));
    EXPECT_FALSE(present(Control::Image3));
    EXPECT_FALSE(present(Control::Image4));
    click(Control::player3);
    rollAndWait(2);
    EXPECT_TRUE(present(Control::Image3));
    EXPECT_FALSE(present(Control::Image4));
    click(Control::cmdnewgame);
    EXPECT_FALSE(present(Control::Image3));
    rollAndWait(2);
    EXPECT_EQ(accessibleText(widget(Control::lblcurrentplayer)),
              QStringLiteral("Player 2's  Turn"));
    EXPECT_EQ(accessibleText(widget(Control::txtplayer3name)), QStringLiteral("Name of player 3"));
    EXPECT_EQ(accessibleText(widget(Control::Image1)),
              QStringLiteral("Token of Player 1, square 2"));
    click(Control::cmdnewgame);
    EXPECT_EQ(accessibleText(widget(Control::Image1)),
              QStringLiteral("Token of Player 1, not on the board"));
}

// Made active before it is shown, as a web page's window is, the window still opens with the die
// in focus.
TEST_F(Accessibility, OpensWithTheDieInFocusThoughMadeActiveBeforeItIsShown) {
    window.reset();
    window = std::make_unique<ui::frmmain>(random, [](int) { return 0; });
    window->winId();
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
    QWindowSystemInterface::handleFocusWindowChanged<QWindowSystemInterface::SynchronousDelivery>(
        window->windowHandle());
#else
    QWindowSystemInterface::handleWindowActivated<QWindowSystemInterface::SynchronousDelivery>(
        window->windowHandle());
#endif
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(QApplication::focusWidget(), widget(Control::picdice));
}

TEST_F(Accessibility, FocusStaysWithTheDieWhichSpaceEnterAndKeypadEnterRoll) {
    activate();
    QWidget* die = widget(Control::picdice);
    EXPECT_EQ(QApplication::focusWidget(), die);
    const QImage focused = die->grab().toImage();
    EXPECT_EQ(focused.pixelColor(1, 1), ui::kFocusColour);
    EXPECT_EQ(focused.pixelColor(focused.width() - 2, focused.height() / 2), ui::kFocusColour);

    const std::tuple<Qt::Key, Qt::KeyboardModifier, int> presses[] = {
        {Qt::Key_Space, Qt::NoModifier, 2},
        {Qt::Key_Return, Qt::NoModifier, 5},
        {Qt::Key_Enter, Qt::KeypadModifier, 1}};
    for (const auto& [key, modifier, face] : presses) {
        rollAndWait(face, [&] {
            QTest::keyClick(die, key, modifier);
            EXPECT_TRUE(window->timer(Control::Timer2).isActive()) << key;
        });
    }
    EXPECT_EQ(window->game().state().movetotalcountp1, 3);
    EXPECT_EQ(window->game().state().movetotalcountp2, 5);
    EXPECT_EQ(announced.shows, 3);
    // Ctrl+N where the die already has the focus: the announcer tells the news. Mid-roll it
    // stops the roll, as New Game does.
    random.pushRoll(6);
    QTest::keyClick(die, Qt::Key_Space);
    ASSERT_TRUE(window->timer(Control::Timer2).isActive());
    QTest::keyClick(die, Qt::Key_N, Qt::ControlModifier);
    EXPECT_FALSE(window->timer(Control::Timer2).isActive());
    EXPECT_EQ(announced.shows, 4);
    EXPECT_EQ(accessibleText(announcer()), QStringLiteral("New game. Player 1's turn."));
    // Ctrl+N held down: its repeats start no further new game, nor announce one.
    QTest::simulateEvent(die, true, Qt::Key_N, Qt::ControlModifier, QString(), true);
    EXPECT_EQ(announced.shows, 4);
}

TEST_F(Accessibility, TabMovesThroughTheControlsInTheWindowsOrderAndTheFocusShows) {
    activate();
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

    // A game set up by keys alone: three players, player 1's name typed over the one the box
    // held, back to the die, and Space plays it.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), "Ada");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    ASSERT_EQ(QApplication::focusWidget(), widget(Control::picdice));
    rollAndWait(5, [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space); });
    EXPECT_EQ(window->game().state().noofplayers, 3);
    EXPECT_EQ(accessibleText(widget(Control::Image1)), QStringLiteral("Token of Ada, square 5"));
}

} // namespace
} // namespace tavlo::testing
