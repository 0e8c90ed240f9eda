// SPDX-License-Identifier: GPL-3.0-or-later
// The window as the players first see it.
#include "window_fixture.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

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

struct Placement {
    Control control;
    Control container;
    int left, top, width, height; // twips; width 0: sized by its picture
};

const Placement kPlacements[] = {
    {Control::Command2, Control::frmmain, 11400, 6840, 3015, 375},
    {Control::Command1, Control::frmmain, 11400, 4320, 3015, 375},
    {Control::cmdexit, Control::frmmain, 11400, 9960, 3015, 375},
    {Control::cmdnewgame, Control::frmmain, 11400, 360, 3015, 375},
    {Control::frameplayername, Control::frmmain, 11400, 7320, 3015, 2535},
    {Control::txtplayer4name, Control::frameplayername, 120, 1920, 2000, 375},
    {Control::txtplayer3name, Control::frameplayername, 120, 1320, 2000, 375},
    {Control::txtplayer2name, Control::frameplayername, 120, 720, 2000, 375},
    {Control::txtplayer1name, Control::frameplayername, 120, 120, 2000, 375},
    {Control::imgp4, Control::frameplayername, 2160, 1680, 0, 0},
    {Control::imgp3, Control::frameplayername, 2160, 1080, 0, 0},
    {Control::imgp2, Control::frameplayername, 2160, 480, 0, 0},
    {Control::imgp1, Control::frameplayername, 2160, -120, 0, 0},
    {Control::frameselectnoofplayer, Control::frmmain, 11400, 4800, 3015, 1575},
    {Control::player4, Control::frameselectnoofplayer, 120, 1080, 1575, 375},
    {Control::player3, Control::frameselectnoofplayer, 120, 600, 1455, 375},
    {Control::player2, Control::frameselectnoofplayer, 120, 120, 1695, 375},
    {Control::picdice, Control::frmmain, 12240, 1560, 1280, 1215},
    {Control::pictureboard, Control::frmmain, 840, 360, 10000, 10000},
    {Control::Image4, Control::pictureboard, 3240, 8880, 975, 975},
    {Control::Image3, Control::pictureboard, 2160, 8880, 975, 975},
    {Control::Image2, Control::pictureboard, 1080, 8880, 975, 975},
    {Control::Image1, Control::pictureboard, 0, 8880, 975, 975},
    {Control::Label1, Control::pictureboard, 0, 0, 1095, 495},
    {Control::lblwinner, Control::frmmain, 11400, 3480, 3015, 375},
    {Control::Shape1, Control::frmmain, 720, 240, 10200, 10200},
    {Control::lblcurrentplayer, Control::frmmain, 11400, 960, 3015, 375},
    {Control::imgstartp2, Control::frmmain, 0, 9240, 540, 570},
    {Control::imgstartp4, Control::frmmain, 0, 8040, 540, 570},
    {Control::imgstartp3, Control::frmmain, 0, 8640, 540, 570},
    {Control::imgstartp1, Control::frmmain, 0, 9840, 540, 570},
};

using StartedWindow = WindowFixture;

TEST_F(StartedWindow, HasItsTitleAndClientSize) {
    EXPECT_EQ(window->windowTitle(),
              QStringLiteral("Tavlo - Game created by " TAVLO_TEST_MAKER_URL " "));
    // It opens wide enough to show the right-hand column whole, and can be made no smaller than
    // the size the layout was drawn for.
    EXPECT_EQ(window->size(), QSize(985, 702));
    EXPECT_EQ(window->minimumSize(), QSize(952, 702));
    EXPECT_FALSE(window->windowIcon().isNull());
}

TEST_F(StartedWindow, EveryControlStandsInItsContainerAtItsPlace) {
    for (const Placement& p : kPlacements) {
        SCOPED_TRACE(controlName(p.control));
        QWidget* w = widget(p.control);
        EXPECT_EQ(w->parentWidget(), window->control(p.container));
        EXPECT_EQ(w->pos(), ui::pixels(p.left, p.top));
        if (p.width != 0)
            EXPECT_EQ(w->size(), ui::pixels(p.left, p.top, p.width, p.height).size());
        else
            EXPECT_EQ(w->size(), QSize(50, 50)); // a legend token takes its pawn's size
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

    window->resize(window->minimumSize());
    EXPECT_EQ(window->size(), QSize(952, 702));
    EXPECT_EQ(widget(Control::cmdnewgame)->geometry(), column); // cut 135 twips short
    window->resize(1400, 900);
    EXPECT_EQ(widget(Control::cmdnewgame)->geometry(), column);
    EXPECT_EQ(widget(Control::pictureboard)->geometry(), ui::pixels(840, 360, 10000, 10000));
}

TEST_F(StartedWindow, CaptionsFontsAndToolTipsAreAsDesigned) {
    struct Text {
        Control control;
        const char* caption;
        qreal points;
        bool bold;
        const char* toolTip;
    };
    const Text texts[] = {
        {Control::Command2, "Enter Player's Name", 12, true, ""},
        {Control::Command1, "Select Number of Players", 12, true, ""},
        {Control::cmdexit, "Exit", 12, true, "Exit Game"},
        {Control::cmdnewgame, "New Game", 12, true, "New Game"},
        {Control::player4, "4 Players", 12, true, ""},
        {Control::player3, "3 Players ", 12, true, ""},
        {Control::player2, "2 Players", 12, true, ""},
    };
    for (const Text& t : texts) {
        SCOPED_TRACE(controlName(t.control));
        auto* button = widget<QAbstractButton>(t.control);
        EXPECT_EQ(button->text(), QString::fromUtf8(t.caption));
        EXPECT_EQ(button->font().pointSizeF(), t.points);
        EXPECT_EQ(button->font().bold(), t.bold);
        EXPECT_EQ(button->toolTip(), QString::fromUtf8(t.toolTip));
        EXPECT_LE(QFontMetrics(button->font()).horizontalAdvance(button->text()),
                  captionRoom(button))
            << "the caption is cut";
    }
    for (int n = 1; n <= 4; ++n) {
        auto* box = widget<QLineEdit>(player(n).nameBox);
        EXPECT_EQ(box->text(), QStringLiteral("Player %1").arg(n));
        EXPECT_EQ(box->font().pointSizeF(), 9.75);
        EXPECT_TRUE(box->font().bold());
        EXPECT_GE(box->maxLength(), 100000);
        QStyleOptionFrame frame;
        frame.initFrom(box);
        frame.lineWidth =
            box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
        const QRect room = box->style()->subElementRect(QStyle::SE_LineEditContents, &frame, box);
        EXPECT_LE(QFontMetrics(box->font()).horizontalAdvance(box->text()), room.width()) << n;
    }
    EXPECT_EQ(caption(Control::lblcurrentplayer), QStringLiteral("Player 1's Turn"));
    EXPECT_EQ(widget(Control::lblcurrentplayer)->font().pointSizeF(), 12);
    EXPECT_EQ(widget(Control::lblwinner)->font().pointSizeF(), 14.25);
    EXPECT_EQ(caption(Control::lblwinner), QString());
    EXPECT_EQ(widget(Control::picdice)->toolTip(), QStringLiteral("Dice"));
    EXPECT_EQ(widget(Control::Label1)->font().pointSizeF(), 8.25);
    EXPECT_FALSE(widget(Control::Label1)->font().bold());
}

TEST_F(StartedWindow, AsksForArialAndGetsItsMetricTwin) {
    const QString family = QFontInfo(widget(Control::cmdnewgame)->font()).family();
    EXPECT_TRUE(family == "Arial" || family == "Liberation Sans") << family.toStdString();
}

TEST_F(StartedWindow, ColoursAreTheStartUpOnes) {
    const QColor navy(0, 0, 25), face(224, 224, 224);
    auto background = [&](Control c) { return widget(c)->palette().color(QPalette::Window); };
    auto text = [&](Control c) { return textColour(c); };
    EXPECT_EQ(window->palette().color(QPalette::Window), navy);
    for (Control c :
         {Control::frameplayername, Control::frameselectnoofplayer, Control::player2,
          Control::player3, Control::player4, Control::picdice, Control::lblcurrentplayer})
        EXPECT_EQ(background(c), navy) << controlName(c);
    for (Control c : {Control::player2, Control::player3, Control::player4})
        EXPECT_EQ(text(c), QColor(Qt::white)) << controlName(c);
    EXPECT_EQ(text(Control::lblcurrentplayer), QColor(235, 79, 33));
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

TEST_F(StartedWindow, VisibilityEnabledStateAndSelectedOption) {
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
    EXPECT_EQ(window->game().state().noofplayers, 2);
}

TEST_F(StartedWindow, TimersAreStoppedWithTheirIntervals) {
    EXPECT_FALSE(window->timer(Control::Timer2).isActive());
    EXPECT_FALSE(window->timer(Control::Timer1).isActive());
    EXPECT_EQ(window->timer(Control::Timer2).interval(), 60);
    EXPECT_EQ(window->timer(Control::Timer1).interval(), 100);
    EXPECT_EQ(window->timer(Control::Timer2).timerType(), Qt::PreciseTimer);
}

TEST_F(StartedWindow, PicturesComeFromTheImageLists) {
    // In the variant for the screen: the sharp ones on a scaled screen.
    const qreal ratio = window->devicePixelRatioF();
    auto shows = [&](Control c, const ui::ImageSet& set, int index) {
        const QPixmap shown = shownPicture(c);
        return !shown.isNull() && shown.devicePixelRatio() == ratio &&
               shown.toImage() == set.picture(index, ratio).toImage();
    };
    EXPECT_TRUE(shows(Control::picdice, window->imageList2(), 7));
    for (int n = 1; n <= 4; ++n) {
        EXPECT_TRUE(shows(player(n).startToken, window->imageList1(), player(n).cookie)) << n;
        EXPECT_TRUE(shows(player(n).legendToken, window->imageList1(), player(n).cookie)) << n;
        EXPECT_TRUE(widget<QLabel>(player(n).boardToken)->pixmap().isNull()) << n;
    }
    EXPECT_TRUE(widget<QLabel>(Control::imgstartp1)->hasScaledContents());
    EXPECT_FALSE(widget<QLabel>(Control::imgp1)->hasScaledContents());
}

TEST_F(StartedWindow, CursorIsTheDefaultArrow) {
    EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
}

} // namespace
} // namespace tavlo::testing
