// SPDX-License-Identifier: GPL-3.0-or-later
// The window as the players first see it.
#include "window_fixture.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWheelEvent>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

namespace tavlo::testing {
namespace {

// The width the style leaves for a button's or an option's caption, in pixels.
int captionRoom(QAbstractButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    if (auto* push = qobject_cast<QPushButton*>(button); push && push->autoDefault())
        option.features |= QStyleOptionButton::AutoDefaultButton;
    const QStyle::SubElement contents = qobject_cast<QRadioButton*>(button)
                                            ? QStyle::SE_RadioButtonContents
                                            : QStyle::SE_PushButtonContents;
    return button->style()->subElementRect(contents, &option, button).width();
}

using StartedWindow = WindowFixture;

TEST_F(StartedWindow, HasItsTitleAndClientSize) {
    EXPECT_EQ(window->windowTitle(),
              QStringLiteral("Tavlo - Game created by " TAVLO_TEST_MAKER_URL " "));
    // It opens wide enough to show the right-hand column whole, and can be made no smaller on a
    // screen that holds it.
    EXPECT_EQ(window->size(), QSize(985, 702));
    EXPECT_EQ(window->minimumSize(), QSize(985, 702));
    EXPECT_FALSE(window->windowIcon().isNull());
}

// The layout's properties rather than its numbers: the right-hand column in order from the top
// without overlaps, one edge and width for its bars and panels, every control inside what holds
// it, the board square inside its white frame, and the tokens beside their names and the board.
TEST_F(StartedWindow, ControlsStandInTheirColumnsAndContainersWithoutOverlapping) {
    auto at = [&](Control c) { return widget(c)->geometry(); };
    const Control column[] = {
        Control::cmdnewgame, Control::lblcurrentplayer, Control::picdice,
        Control::lblwinner,  Control::Command1,         Control::frameselectnoofplayer,
        Control::Command2,   Control::frameplayername,  Control::cmdexit};
    for (std::size_t k = 0; k < std::size(column); ++k) {
        SCOPED_TRACE(controlName(column[k]));
        EXPECT_EQ(widget(column[k])->parentWidget(), window->scrollArea().widget());
        EXPECT_TRUE(window->rect().contains(at(column[k])));
        if (k > 0) {
            EXPECT_GT(at(column[k]).top(), at(column[k - 1]).bottom());
        }
        const QRect bar = at(Control::cmdnewgame);
        if (column[k] == Control::picdice) {
            EXPECT_TRUE(at(column[k]).left() > bar.left() && at(column[k]).right() < bar.right());
        } else {
            EXPECT_EQ(std::pair(at(column[k]).left(), at(column[k]).width()),
                      std::pair(bar.left(), bar.width()));
        }
    }
    const std::pair<Control, std::vector<Control>> panels[] = {
        {Control::frameselectnoofplayer, {Control::player2, Control::player3, Control::player4}},
        {Control::frameplayername,
         {Control::txtplayer1name, Control::txtplayer2name, Control::txtplayer3name,
          Control::txtplayer4name}},
        {Control::pictureboard,
         {Control::Image1, Control::Image2, Control::Image3, Control::Image4, Control::Label1}}};
    for (const auto& [panel, children] : panels)
        for (std::size_t k = 0; k < children.size(); ++k) {
            SCOPED_TRACE(controlName(children[k]));
            EXPECT_EQ(widget(children[k])->parentWidget(), widget(panel));
            EXPECT_TRUE(widget(panel)->rect().contains(at(children[k])));
            if (k > 0 && panel != Control::pictureboard) {
                EXPECT_GT(at(children[k]).top(), at(children[k - 1]).bottom());
            }
        }
    EXPECT_EQ(at(Control::pictureboard).size(),
              QSize(ui::pixels(kBoardTwips), ui::pixels(kBoardTwips)));
    EXPECT_TRUE(at(Control::Shape1).contains(at(Control::pictureboard).adjusted(-1, -1, 1, 1)));
    for (int n = 1; n <= 4; ++n) {
        SCOPED_TRACE(n);
        // A legend pawn (sized by its picture) right of its player's name box, level with it.
        const QRect pawn = at(player(n).legendToken), name = at(player(n).nameBox);
        EXPECT_EQ(pawn.size(), QSize(50, 50));
        EXPECT_GE(pawn.left(), name.right());
        EXPECT_TRUE(pawn.top() <= name.bottom() && pawn.bottom() >= name.top());
        // A start token left of the board's frame, the players' tokens one above the other from
        // player 4 at the top to player 1.
        const QRect start = at(player(n).startToken);
        EXPECT_LT(start.right(), at(Control::Shape1).left());
        if (n > 1) {
            EXPECT_LT(start.bottom(), at(player(n - 1).startToken).top());
        }
    }
}

TEST_F(StartedWindow, RightColumnEndsInsideTheWindowAndNothingMovesWithItsSize) {
    const QRect column = widget(Control::cmdnewgame)->geometry();
    EXPECT_EQ(column.right() + 1, ui::pixels(14415));
    const QImage shot = window->grab().toImage();
    int plain = 0;
    for (int x = column.right() + 1; x < shot.width(); ++x)
        for (int y = 0; y < shot.height(); ++y)
            plain += shot.pixelColor(x, y) == QColor(0, 0, 25);
    EXPECT_EQ(plain, (shot.width() - column.right() - 1) * shot.height())
        << "the window's right edge must be plain background";

    window->resize(1400, 900);
    EXPECT_EQ(widget(Control::cmdnewgame)->geometry(), column);
    EXPECT_EQ(widget(Control::pictureboard)->geometry(), ui::pixels(840, 360, 10000, 10000));
    for (const QWidget* bar :
         {window->scrollArea().horizontalScrollBar(), window->scrollArea().verticalScrollBar()})
        EXPECT_FALSE(bar->isVisible());
}

// On screens with less room than the page (screens.json: the window opens on a 1366x590 laptop
// screen; a 640x480 one and one at scale 2 stand beside it).
using OnScreens = WindowFixture;

QScreen* screenNamed(const char* name) {
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->name() == QLatin1String(name))
            return screen;
    ADD_FAILURE() << "no screen " << name;
    return QGuiApplication::primaryScreen();
}

// As the windowing system reports a window moved to another screen.
void moveTo(QWidget& window, const char* screen) {
    QWindowSystemInterface::handleWindowScreenChanged<QWindowSystemInterface::SynchronousDelivery>(
        window.windowHandle(), screenNamed(screen));
}

// Turns the wheel over the page until it scrolls no further along that way. (Sent to the
// viewport: only the windowing system's wheel events travel up from the control under the
// pointer, as on the real screen.)
void wheelToTheEnd(const QScrollArea& area, QPoint turn) {
    QWidget* at = area.viewport();
    for (int step = 0; step < 100; ++step) {
        const QPoint where = at->rect().center();
        QWheelEvent wheel(where, at->mapToGlobal(where), {}, turn, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(at, &wheel);
    }
}

TEST_F(OnScreens, ShortScreensScrollThePageWholeIntoSightByWheelAndExitTakesAClick) {
    for (const char* name : {"laptop", "small"}) {
        SCOPED_TRACE(name);
        if (QLatin1String(name) != QLatin1String("laptop")) { // moved there
            open([](int) { return 0; });
            moveTo(*window, name);
        }
        const QRect room = screenNamed(name)->availableGeometry();
        EXPECT_TRUE(room.contains(window->frameGeometry()));
        const QScrollArea& area = window->scrollArea();
        const QRect page(QPoint(0, 0), ui::frmmain::pageSize());
        auto seen = [&](QWidget* w) {
            return area.viewport()->rect().contains(
                QRect(w->mapTo(area.viewport(), QPoint(0, 0)), w->size()));
        };
        EXPECT_FALSE(seen(widget(Control::cmdexit)));
        wheelToTheEnd(area, {0, -120});
        wheelToTheEnd(area, {-120, 0});
        // Scrolled to the end: the page's far corner, with Exit and square 10, is in sight.
        EXPECT_TRUE(seen(widget(Control::cmdexit)));
        EXPECT_EQ(area.widget()->mapTo(area.viewport(), page.bottomRight()),
                  area.viewport()->rect().bottomRight());
        // Nothing is scaled.
        EXPECT_EQ(widget(Control::cmdexit)->geometry(), ui::pixels(11400, 9960, 3015, 375));
        // The focus brings what it reaches into sight.
        widget(Control::cmdnewgame)->setFocus();
        EXPECT_TRUE(seen(widget(Control::cmdnewgame)));
        wheelToTheEnd(area, {0, -120});
        QTest::mouseClick(widget(Control::cmdexit), Qt::LeftButton);
        EXPECT_FALSE(window->isVisible()) << "Exit ended the game";
    }
}

TEST_F(OnScreens, MovedToAScreenOfAnotherScaleTheBoardAndPicturesAreRepaintedForIt) {
    rollAndWait(4);
    const QPoint token = widget(Control::Image1)->pos();
    const QString turn = caption(Control::lblcurrentplayer);
    for (const char* name : {"hidpi", "laptop"}) {
        SCOPED_TRACE(name);
        moveTo(*window, name);
        EXPECT_EQ(window->devicePixelRatioF(), screenNamed(name)->devicePixelRatio());
        expectPicturesForTheScreen();
        // The game is untouched.
        EXPECT_EQ(widget(Control::Image1)->pos(), token);
        EXPECT_EQ(caption(Control::lblcurrentplayer), turn);
        EXPECT_EQ(window->label1(10)->text(), QStringLiteral(" 10"));
    }
}

// What the captions say is the window's own; what holds for all of them is checked here.
TEST_F(StartedWindow, CaptionsFitAndShareOneFaceAndTheOptionsNameTheirNumbers) {
    // The title bars, the buttons, the options and whose turn it is, in one bold face (Arial, or
    // its metric twin), with none of their captions cut; the winner in a larger one.
    const QFont face = widget(Control::cmdnewgame)->font();
    EXPECT_TRUE(face.bold());
    const QString family = QFontInfo(face).family();
    EXPECT_TRUE(family == "Arial" || family == "Liberation Sans") << family.toStdString();
    EXPECT_EQ(widget(Control::lblcurrentplayer)->font(), face);
    EXPECT_GT(widget(Control::lblwinner)->font().pointSizeF(), face.pointSizeF());
    for (Control c : {Control::Command2, Control::Command1, Control::cmdexit, Control::cmdnewgame,
                      Control::player4, Control::player3, Control::player2}) {
        SCOPED_TRACE(controlName(c));
        auto* button = widget<QAbstractButton>(c);
        EXPECT_FALSE(button->text().trimmed().isEmpty());
        EXPECT_EQ(button->font(), face);
        EXPECT_LE(QFontMetrics(button->font()).horizontalAdvance(button->text()),
                  captionRoom(button))
            << "the caption is cut";
    }
    // Each option's caption begins with the number of players it chooses.
    for (Control option : {Control::player4, Control::player3, Control::player2}) {
        click(option);
        EXPECT_TRUE(widget<QAbstractButton>(option)->text().startsWith(
            QString::number(window->game().state().noofplayers)))
            << controlName(option);
    }
    // What acts has a tooltip; the title bars only name the panels below them.
    for (Control c : {Control::cmdexit, Control::cmdnewgame, Control::picdice})
        EXPECT_FALSE(widget(c)->toolTip().isEmpty()) << controlName(c);
    for (Control c : {Control::Command1, Control::Command2})
        EXPECT_TRUE(widget(c)->toolTip().isEmpty()) << controlName(c);
    // Each name box holds its player's default name, in a bold face, whole, and takes any name.
    for (int n = 1; n <= 4; ++n) {
        auto* box = widget<QLineEdit>(player(n).nameBox);
        EXPECT_EQ(box->text(), QStringLiteral("Player %1").arg(n));
        EXPECT_TRUE(box->font().bold());
        EXPECT_GE(box->maxLength(), 100000);
        QStyleOptionFrame frame;
        frame.initFrom(box);
        frame.lineWidth =
            box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
        const QRect room = box->style()->subElementRect(QStyle::SE_LineEditContents, &frame, box);
        EXPECT_LE(QFontMetrics(box->font()).horizontalAdvance(box->text()), room.width()) << n;
    }
}

TEST_F(StartedWindow, ColoursAreTheStartUpOnes) {
    const QColor navy(0, 0, 25), face(224, 224, 224);
    auto background = [&](Control c) { return widget(c)->palette().color(QPalette::Window); };
    EXPECT_EQ(window->palette().color(QPalette::Window), navy);
    for (Control c :
         {Control::frameplayername, Control::frameselectnoofplayer, Control::player2,
          Control::player3, Control::player4, Control::picdice, Control::lblcurrentplayer})
        EXPECT_EQ(background(c), navy) << controlName(c);
    for (Control c : {Control::player2, Control::player3, Control::player4})
        EXPECT_EQ(textColour(c), QColor(Qt::white)) << controlName(c);
    EXPECT_EQ(textColour(Control::lblcurrentplayer), QColor(235, 79, 33));
    EXPECT_EQ(background(Control::lblwinner), face);
    for (Control c : {Control::cmdnewgame, Control::cmdexit, Control::Command1, Control::Command2})
        EXPECT_EQ(widget(c)->palette().color(QPalette::Button), face) << controlName(c);

    // And on screen: the navy window, the white board, the button face.
    const QImage shot = window->grab().toImage();
    EXPECT_EQ(shot.pixelColor(2, 2), navy);
    EXPECT_EQ(shot.pixelColor(ui::pixels(840 + 500, 360 + 9500)), QColor(Qt::white));
    // The style shades the button face slightly around its colour.
    const QColor button = shot.pixelColor(ui::pixels(11400 + 60, 360 + 190));
    EXPECT_NEAR(button.red(), face.red(), 16);
    EXPECT_NEAR(button.blue(), face.blue(), 16);
}

// Still, with the default arrow, the timers stopped and two players selected.
TEST_F(StartedWindow, VisibilityEnabledStateSelectedOptionCursorAndTimers) {
    for (Control c :
         {Control::lblwinner, Control::Label1, Control::imgstartp3, Control::imgstartp4})
        EXPECT_FALSE(widget(c)->isVisible()) << controlName(c);
    for (Control c : {Control::imgstartp1, Control::imgstartp2, Control::picdice,
                      Control::pictureboard, Control::lblcurrentplayer, Control::txtplayer4name})
        EXPECT_TRUE(widget(c)->isVisible()) << controlName(c);
    for (int i = 0; i < kControlCount; ++i) {
        if (QWidget* w = window->control(static_cast<Control>(i))) {
            EXPECT_TRUE(w->isEnabled()) << controlName(static_cast<Control>(i));
        }
    }
    EXPECT_TRUE(widget<QRadioButton>(Control::player2)->isChecked());
    EXPECT_FALSE(widget<QRadioButton>(Control::player3)->isChecked());
    EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
    for (const auto& [timer, interval] : {std::pair(Control::Timer2, 60), {Control::Timer1, 100}}) {
        EXPECT_FALSE(window->timer(timer).isActive());
        EXPECT_EQ(window->timer(timer).interval(), interval);
        EXPECT_EQ(window->timer(timer).timerType(), Qt::PreciseTimer);
    }
}

TEST_F(StartedWindow, PicturesComeFromTheImageLists) {
    expectPicturesForTheScreen();
    for (int n = 1; n <= 4; ++n)
        EXPECT_TRUE(widget<QLabel>(player(n).boardToken)->pixmap().isNull()) << n;
    EXPECT_TRUE(widget<QLabel>(Control::imgstartp1)->hasScaledContents());
    EXPECT_FALSE(widget<QLabel>(Control::imgp1)->hasScaledContents());
}

} // namespace
} // namespace tavlo::testing
