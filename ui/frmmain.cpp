// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmmain.h"

#include "board_painting.h"
#include "twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <limits>

namespace tavlo::ui {

namespace {

constexpr QColor kDesignBackground(64, 64, 64);
constexpr QColor kButtonFace(224, 224, 224);
// The client area the layout was drawn for cuts the right-hand column 135 twips short; its page is
// wider, with the column whole and a margin after it. Nothing on it moves or scales with the
// window's size.
constexpr QSize kPageTwips(14775, 10530);

QColor toQColor(Rgb c) {
    return QColor(c.red, c.green, c.blue);
}

QFont arial(qreal points, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(pixels(left, top, width, height));
}

// The input held back while a move is played out. (Not ShortcutOverride: held back, it would keep
// the keys of New Game and Exit from ever reaching their shortcuts, which decide for themselves.)
bool isUserInput(QEvent::Type type) {
    return std::ranges::count(
               std::initializer_list{QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                     QEvent::MouseButtonDblClick, QEvent::KeyPress,
                                     QEvent::KeyRelease, QEvent::Shortcut, QEvent::Wheel,
                                     QEvent::TouchBegin, QEvent::TouchUpdate, QEvent::TouchEnd,
                                     QEvent::ContextMenu},
               type) > 0;
}

} // namespace

frmmain::frmmain(RandomSource& random, OperationPlayer::PauseLength pauseLength,
                 ScreenReaderChannels channels, QWidget* parent)
    : QWidget(parent), m_imageList1(makeImageList1()), m_imageList2(makeImageList2()),
      m_painting(paintBoard(m_imageList1, devicePixelRatioF())),
      m_player([this](const Operation& o) { apply(o); },
               pauseLength ? std::move(pauseLength) : [](int ms) { return ms; }),
      m_game(*this, random) {
    m_boardRatio = devicePixelRatioF();
    setObjectName(QStringLiteral("frmmain"));
    setWindowTitle(QStringLiteral("Tavlo - Game created by " TAVLO_MAKER_URL " "));
    // A screen reader says the game's name, not the web address in the title.
    setAccessibleName(QStringLiteral("Tavlo"));
    setWindowIcon(QIcon(QStringLiteral(":/images/icon.ico")));
    resize(pageSize());
    setAutoFillBackground(true);
    setBackColour(this, kDesignBackground);
    // Every control's text is in the font its design gives it; this is the font of the rest (the
    // number labels' model among them), whatever the desktop sets for the application.
    setFont(arial(8.25, false));

    // The layout on a page of its own size, at the top left, whatever the window's size: where
    // the window is smaller, the page scrolls, with bars only then. The window's background shows
    // through the page and around it.
    m_page = new QWidget;
    m_page->resize(pageSize());
    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->setWidget(m_page);
    m_page->setAutoFillBackground(false);
    m_scroll->viewport()->setAutoFillBackground(false);
    auto* whole = new QVBoxLayout(this);
    whole->setContentsMargins({});
    whole->addWidget(m_scroll);
    fitScreen();

    m_controls[static_cast<std::size_t>(Control::frmmain)] = this;
    createControls();
    m_news.emplace(this, control(Control::picdice), channels);
    connectEvents();
    qApp->installEventFilter(this);

    m_game.Form_Load();
    // The die has the focus when the window opens, so Space rolls at once.
    control(Control::picdice)->setFocus();
}

frmmain::~frmmain() {
    m_player.discard();
    qApp->removeEventFilter(this);
}

void frmmain::createControls() {
    auto add = [this](Control c, QWidget* w) {
        w->setObjectName(QString::fromUtf8(controlName(c)));
        m_controls[static_cast<std::size_t>(c)] = w;
    };
    auto button = [&](Control c, int top, const char* caption, const char* toolTip = nullptr,
                      QAccessible::Role role = QAccessible::NoRole) {
        auto* b = new QPushButton(m_page);
        if (role != QAccessible::NoRole) {
            setAccessibleRole(b, role);
            b->setAccessibleName(QString::fromUtf8(caption));
        }
        b->setText(QString::fromUtf8(caption));
        add(c, b);
        place(b, 11400, top, 3015, 375);
        b->setFont(arial(12, true));
        setBackColour(b, kButtonFace);
        // Enter presses a focused button, as Space does, like the die.
        b->setAutoDefault(true);
        if (toolTip)
            b->setToolTip(QString::fromUtf8(toolTip));
        return b;
    };
    auto frame = [&](Control c, int top, int height) {
        auto* f = new QWidget(m_page);
        // A group: a screen reader names it when the focus enters it, as it does a box of options.
        setAccessibleRole(f, QAccessible::Grouping);
        add(c, f);
        place(f, 11400, top, 3015, height);
        f->setFont(arial(8.25, true));
        f->setAutoFillBackground(true);
        setBackColour(f, kButtonFace);
        return f;
    };
    auto image = [&](Control c, QWidget* parent, int left, int top, int width, int height,
                     bool stretch) {
        auto* i = new ImageControl(parent, stretch);
        // A board token is there for a screen reader only while its player takes part.
        if (parent == m_pictureboard)
            presentOnlyWhileNamed(i);
        add(c, i);
        place(i, left, top, width, height);
        return i;
    };
    auto centredLabel = [&](Control c, int top, qreal points) {
        auto* label = new PlainLabel(m_page);
        add(c, label);
        place(label, 11400, top, 3015, 375);
        label->setFont(arial(points, true));
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        return label;
    };

    // The two title bars only name the panels below them: headings, which a screen reader
    // offers nothing to press on.
    button(Control::Command2, 6840, "Enter Player's Name", nullptr, QAccessible::Heading);
    button(Control::Command1, 4320, "Select Number of Players", nullptr, QAccessible::Heading);
    m_timer2.setInterval(60);
    m_cmdexit = button(Control::cmdexit, 9960, "Exit", "Exit Game");
    button(Control::cmdnewgame, 360, "New Game", "New Game");

    QWidget* names = frame(Control::frameplayername, 7320, 2535);
    const std::tuple<Control, int, int> boxes[] = {{Control::txtplayer4name, 4, 1920},
                                                   {Control::txtplayer3name, 3, 1320},
                                                   {Control::txtplayer2name, 2, 720},
                                                   {Control::txtplayer1name, 1, 120}};
    for (const auto& [c, n, top] : boxes) {
        auto* box = new QLineEdit(QStringLiteral("Player %1").arg(n), names);
        add(c, box);
        place(box, 120, top, 2000, 375);
        box->setFont(arial(9.75, true));
        box->setMaxLength(std::numeric_limits<int>::max());
    }
    image(Control::imgp4, names, 2160, 1680, 615, 495, false);
    image(Control::imgp3, names, 2160, 1080, 615, 495, false);
    image(Control::imgp2, names, 2160, 480, 615, 495, false);
    image(Control::imgp1, names, 2160, -120, 615, 495, false);

    QWidget* count = frame(Control::frameselectnoofplayer, 4800, 1575);
    const std::tuple<Control, int, int, const char*> options[] = {
        {Control::player4, 1080, 1575, "4 Players"},
        {Control::player3, 600, 1455, "3 Players "},
        {Control::player2, 120, 1695, "2 Players"}};
    for (const auto& [c, top, width, caption] : options) {
        auto* option = new QRadioButton(QString::fromUtf8(caption), count);
        add(c, option);
        place(option, 120, top, width, 375);
        option->setFont(arial(12, true));
        option->setAutoFillBackground(true);
        setBackColour(option, kButtonFace);
    }
    m_timer1.setInterval(100);

    auto* dice = new PictureBox(m_page);
    add(Control::picdice, dice);
    place(dice, 12240, 1560, 1280, 1215);
    dice->setToolTip(QStringLiteral("Dice"));
    setBackColour(dice, kButtonFace);

    m_pictureboard = new PictureBoard(m_page);
    add(Control::pictureboard, m_pictureboard);
    place(m_pictureboard, 840, 360, kBoardTwips, kBoardTwips);
    image(Control::Image4, m_pictureboard, 3240, 8880, 975, 975, false);
    image(Control::Image3, m_pictureboard, 2160, 8880, 975, 975, false);
    image(Control::Image2, m_pictureboard, 1080, 8880, 975, 975, false);
    image(Control::Image1, m_pictureboard, 0, 8880, 975, 975, false);

    auto* label1Template = new PlainLabel(m_pictureboard);
    add(Control::Label1, label1Template);
    place(label1Template, 0, 0, 1095, 495);
    label1Template->setText(QStringLiteral("Label1"));
    label1Template->hide();
    m_label1[0] = label1Template;

    auto* winner = centredLabel(Control::lblwinner, 3480, 14.25);
    setBackColour(winner, kButtonFace);
    winner->hide();

    auto* shape = new QWidget(m_page);
    add(Control::Shape1, shape);
    place(shape, 720, 240, 10200, 10200);
    shape->setAutoFillBackground(true);
    setBackColour(shape, Qt::white);
    shape->stackUnder(m_pictureboard);

    centredLabel(Control::lblcurrentplayer, 960, 12);

    image(Control::imgstartp2, m_page, 0, 9240, 540, 570, true);
    image(Control::imgstartp4, m_page, 0, 8040, 540, 570, true);
    image(Control::imgstartp3, m_page, 0, 8640, 540, 570, true);
    image(Control::imgstartp1, m_page, 0, 9840, 540, 570, true);

    for (QTimer* t : {&m_timer1, &m_timer2})
        t->setTimerType(Qt::PreciseTimer);

    describeForScreenReaders();

    // Keyboard focus: board, die, options, names, then the buttons.
    m_pictureboard->setFocusPolicy(Qt::TabFocus);
    const Control tabOrder[] = {
        Control::pictureboard,   Control::picdice,        Control::player2,
        Control::player3,        Control::player4,        Control::txtplayer1name,
        Control::txtplayer2name, Control::txtplayer3name, Control::txtplayer4name,
        Control::cmdnewgame,     Control::cmdexit,        Control::Command1,
        Control::Command2};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(control(tabOrder[i - 1]), control(tabOrder[i]));
}

void frmmain::describeForScreenReaders() {
    const std::pair<Control, const char*> names[] = {
        {Control::pictureboard, QT_TR_NOOP("Board")},
        {Control::picdice, QT_TR_NOOP("Roll the die")},
        {Control::frameselectnoofplayer, QT_TR_NOOP("Number of players")},
        {Control::frameplayername, QT_TR_NOOP("Player names")},
        {Control::txtplayer1name, QT_TR_NOOP("Name of player 1")},
        {Control::txtplayer2name, QT_TR_NOOP("Name of player 2")},
        {Control::txtplayer3name, QT_TR_NOOP("Name of player 3")},
        {Control::txtplayer4name, QT_TR_NOOP("Name of player 4")},
        {Control::imgp1, QT_TR_NOOP("Pawn of player 1: red with a dot")},
        {Control::imgp2, QT_TR_NOOP("Pawn of player 2: green with a star")},
        {Control::imgp3, QT_TR_NOOP("Pawn of player 3: blue with a square")},
        {Control::imgp4, QT_TR_NOOP("Pawn of player 4: cream with a diamond")},
        {Control::imgstartp1, QT_TR_NOOP("Player 1 waiting to start")},
        {Control::imgstartp2, QT_TR_NOOP("Player 2 waiting to start")},
        {Control::imgstartp3, QT_TR_NOOP("Player 3 waiting to start")},
        {Control::imgstartp4, QT_TR_NOOP("Player 4 waiting to start")},
    };
    for (const auto& [c, name] : names)
        control(c)->setAccessibleName(tr(name));
    const std::pair<Control, const char*> descriptions[] = {
        {Control::lblcurrentplayer, QT_TR_NOOP("Whose turn it is")},
        {Control::lblwinner, QT_TR_NOOP("The winner")},
        {Control::cmdnewgame, QT_TR_NOOP("Start a new two-player game, keeping the names")},
        {Control::cmdexit, QT_TR_NOOP("Close the game")},
        {Control::pictureboard, QT_TR_NOOP("Squares 1 to 100 with four ladders and five snakes")},
    };
    for (const auto& [c, description] : descriptions)
        control(c)->setAccessibleDescription(tr(description));
}

void frmmain::connectEvents() {
    connect(static_cast<QPushButton*>(control(Control::cmdnewgame)), &QPushButton::clicked, this,
            &frmmain::newGame);
    // Exit works at any moment, also while a move is being played out.
    connect(m_cmdexit, &QPushButton::clicked, this, [this] { m_game.cmdexit_Click(); });
    // The desktop's keys for both, anywhere in the window; they act as a click would. A held
    // key is one press, as on the die: New Game again and again would only repeat its news.
    auto* newGameKey = new QShortcut(QKeySequence::New, this);
    newGameKey->setAutoRepeat(false);
    connect(newGameKey, &QShortcut::activated, this, &frmmain::newGame);
    connect(new QShortcut(QKeySequence::Quit, this), &QShortcut::activated, this,
            [this] { m_game.cmdexit_Click(); });
    const std::pair<Control, void (Game::*)()> options[] = {
        {Control::player2, &Game::player2_Click},
        {Control::player3, &Game::player3_Click},
        {Control::player4, &Game::player4_Click}};
    for (const auto& [c, handler] : options)
        connect(static_cast<QRadioButton*>(control(c)), &QRadioButton::clicked, this,
                [this, c = c, handler = handler] { optionClicked(c, handler); });
    connect(static_cast<PictureBox*>(control(Control::picdice)), &PictureBox::clicked, this,
            [this] { handle(&Game::picdice_Click); });
    connect(&m_timer2, &QTimer::timeout, this, [this] { handle(&Game::Timer2_Timer); });
    connect(&m_timer1, &QTimer::timeout, this, [this] { handle(&Game::Timer1_Timer); });
    connect(&m_player, &OperationPlayer::finished, this, &frmmain::moveFinished);
    // The keyboard focus brings the control it reaches into sight, however it got there.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && m_page->isAncestorOf(now))
            m_scroll->ensureWidgetVisible(now);
    });
}

bool frmmain::handle(void (Game::*handler)()) {
    // The rules have already finished the move being played out; nothing else may run until
    // the screen has caught up, as if the move still held the window.
    if (m_player.isPlaying())
        return false;
    (m_game.*handler)();
    return true;
}

void frmmain::newGame() {
    // The next key a player presses after New Game is meant for the die, not for another New
    // Game: the focus goes to the die.
    m_news->handFocusToDieAfter([this] { return handle(&Game::cmdnewgame_Click); });
}

void frmmain::optionClicked(Control option, void (Game::*handler)()) {
    if (m_selectedOption == option)
        return; // clicking the selected option changes nothing
    m_selectedOption = option;
    handle(handler);
}

void frmmain::perform(const Operation& operation) {
    if (std::holds_alternative<op::Close>(operation))
        apply(operation);
    else
        m_player.submit(operation);
}

bool frmmain::selectOption(Control option) {
    if (m_selectedOption == option)
        return false;
    m_selectedOption = option;
    static_cast<QRadioButton*>(control(option))->setChecked(true);
    // Tab reaches the group at its selected option, from either side; the arrow keys move
    // within it. (Qt keeps this up itself once an option has had the focus, but only from the
    // option last focused, which New Game's selection may have left behind.)
    for (Control c : {Control::player2, Control::player3, Control::player4})
        control(c)->setFocusPolicy(c == option ? Qt::StrongFocus : Qt::ClickFocus);
    return true;
}

std::string frmmain::text(Control textBox) const {
    return static_cast<QLineEdit*>(control(textBox))->text().toStdString();
}

BoardPoint frmmain::labelPosition(std::int16_t square) const {
    return m_label1Position.at(static_cast<std::size_t>(square));
}

void frmmain::setPicture(Control c, ImageList list, int index) {
    m_shownPictures[static_cast<std::size_t>(c)] = {list, index};
    const ImageSet& images = list == ImageList::ImageList1 ? m_imageList1 : m_imageList2;
    const QPixmap picture = images.picture(index, devicePixelRatioF());
    QWidget* w = control(c);
    if (auto* image = dynamic_cast<ImageControl*>(w))
        image->setPicture(picture);
    else if (auto* box = dynamic_cast<PictureBox*>(w))
        box->setPixmap(picture);
}

void frmmain::apply(const Operation& operation) {
    std::visit(
        Overloaded{
            [&](const op::SetBackColor& o) {
                setBackColour(control(o.control), toQColor(o.colour));
            },
            [&](const op::SetForeColor& o) {
                setTextColour(control(o.control), toQColor(o.colour));
            },
            [&](const op::SetCaption& o) {
                static_cast<QLabel*>(control(o.control))
                    ->setText(QString::fromStdString(o.caption));
            },
            [&](const op::SetVisible& o) { control(o.control)->setVisible(o.visible); },
            [&](const op::SetEnabled& o) {
                if (o.control == Control::Timer1 || o.control == Control::Timer2) {
                    QTimer& t = timer(o.control);
                    // Enabling a running timer leaves its rhythm alone.
                    if (!o.enabled)
                        t.stop();
                    else if (!t.isActive())
                        t.start();
                    return;
                }
                control(o.control)->setEnabled(o.enabled);
            },
            [&](const op::SetPicture& o) { setPicture(o.control, o.list, o.index); },
            [&](const op::SetToolTip& o) {
                control(o.control)->setToolTip(literalToolTip(QString::fromStdString(o.text)));
            },
            [&](const op::Move& o) { place(control(o.control), o.left, o.top, o.width, o.height); },
            [&](const op::SetMousePointer& o) {
                setCursor(o.pointer == MousePointer::Busy ? Qt::BusyCursor : Qt::ArrowCursor);
            },
            [&](const op::Pause&) {}, // the player waits them out
            [&](const op::SetAccessibleName& o) {
                setAccessibleNameOf(control(o.control), QString::fromStdString(o.text));
            },
            [&](const op::News& o) { m_news->tell(QString::fromStdString(o.text), o.sayNow); },
            [&](const op::DrawBoard&) { drawboard(); },
            [&](const op::Close&) { close(); },
        },
        operation);
}

void frmmain::drawboard() {
    m_pictureboard->setPainting(std::move(m_painting));
    createNumberLabels();
}

void frmmain::createNumberLabels() {
    const PlainLabel* model = m_label1[0];
    QFont numberFont = model->font();
    numberFont.setPointSizeF(12);
    numberFont.setBold(true);
    for (int n = 1; n <= 100; ++n) {
        auto* label = new PlainLabel(m_pictureboard);
        label->setObjectName(QStringLiteral("Label1_%1").arg(n));
        label->setPalette(model->palette());
        label->setAlignment(model->alignment());
        label->setVisible(true);
        const BoardPoint at = squareOrigin(n);
        place(label, at.left, at.top, 1000, 300);
        m_label1Position[static_cast<std::size_t>(n)] = at;
        label->setText(QStringLiteral(" %1").arg(n));
        label->setFont(numberFont);
        label->setAutoFillBackground(false);
        m_label1[static_cast<std::size_t>(n)] = label;
    }
}

QSize frmmain::pageSize() {
    return {pixels(kPageTwips.width()), pixels(kPageTwips.height())};
}

void frmmain::fitScreen() {
    // A Wayland compositor sizes the window itself, and gives it no more than there is room for,
    // its own bars and title bars, which Qt does not know, left out.
    if (QGuiApplication::platformName().startsWith(u"wayland"))
        return;
    // The room the desktop leaves for the window (less its panels and bars), less the frame the
    // window manager puts around it, once it has.
    const QRect room = screen()->availableGeometry();
    m_fittedFrame = frameGeometry().size() - size();
    // At a fractional scale the frame, in whole logical pixels, may come out a screen pixel short.
    const qreal ratio = devicePixelRatioF();
    const int rounding = ratio == std::floor(ratio) ? 0 : 1;
    const QSize inside =
        (room.size() - m_fittedFrame - QSize(rounding, rounding)).expandedTo({0, 0});
    // A scroll bar along one edge takes room from the other: a window shorter than its page is
    // wider by the bar where there is room for it, so that only one bar shows.
    const int bar = m_scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_scroll);
    QSize least = pageSize();
    if (least.height() > inside.height())
        least.rwidth() += bar;
    if (least.width() > inside.width())
        least.rheight() += bar;
    setMinimumSize(least.boundedTo(inside));
    if (width() > inside.width() || height() > inside.height()) {
        resize(size().boundedTo(inside));
        move(room.topLeft());
    }
}

void frmmain::showOn(QScreen* shownOn) {
    connect(shownOn, &QScreen::availableGeometryChanged, this, &frmmain::fitScreen,
            Qt::UniqueConnection);
    connect(shownOn, &QScreen::logicalDotsPerInchChanged, this, &frmmain::repaintForScale,
            Qt::UniqueConnection);
    fitScreen();
    repaintForScale();
}

void frmmain::repaintForScale() {
    const qreal ratio = devicePixelRatioF();
    if (ratio == m_boardRatio)
        return;
    m_boardRatio = ratio;
    m_pictureboard->setPainting(paintBoard(m_imageList1, ratio));
    for (std::size_t c = 0; c < kControlCount; ++c)
        if (const auto [list, index] = m_shownPictures[c]; index > 0)
            setPicture(static_cast<Control>(c), list, index);
}

bool frmmain::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::Show:
        // The die has the focus as the window opens, even where the windowing system made the
        // window active before it was shown, giving the focus to the first control that could
        // take it then (a web page does).
        if (!event->spontaneous())
            control(Control::picdice)->setFocus();
        // Once shown, the window follows the screen it is on, and any screen it is moved to.
        connect(windowHandle(), &QWindow::screenChanged, this, &frmmain::showOn,
                Qt::UniqueConnection);
        showOn(screen());
        break;
    case QEvent::Move:
        // The window manager has framed the window, or framed it anew.
        if (frameGeometry().size() - size() != m_fittedFrame)
            fitScreen();
        break;
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    case QEvent::DevicePixelRatioChange: // also where the scale changes on the same screen
        repaintForScale();
        break;
#endif
    default:
        break;
    }
    return QWidget::event(event);
}

void frmmain::closeEvent(QCloseEvent* event) {
    m_player.discard();
    m_timer1.stop();
    m_timer2.stop();
    event->accept();
}

bool frmmain::eventFilter(QObject* watched, QEvent* event) {
    if (m_player.isPlaying() && isUserInput(event->type()) && watched != m_cmdexit) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && (widget == this || isAncestorOf(widget)))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tavlo::ui
