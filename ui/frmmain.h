// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: every control at its place, the two timers, the board and the image lists.
// It owns the rules (`Game`), forwards each event to the one handler that takes it, and carries
// out what the rules ask through the `Window` interface. No rule of the game lives here.
#pragma once

#include "accessibility.h"
#include "image_set.h"
#include "operation_player.h"
#include "widgets.h"

#include "game/game.h"
#include "game/random_source.h"
#include "game/window.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTimer>
#include <QWidget>

#include <array>
#include <future>
#include <optional>

namespace tavlo::ui {

class frmmain : public QWidget, public Window {
    Q_OBJECT
public:
    // `pauseLength` maps each pause the rules ask for to the milliseconds really waited; the
    // program keeps them as they are, tests shorten them. `channels` are how a screen reader
    // hears the news; tests choose them to play another stack's part.
    explicit frmmain(RandomSource& random, OperationPlayer::PauseLength pauseLength = {},
                     ScreenReaderChannels channels = ScreenReaderChannels::ofThisRun(),
                     QWidget* parent = nullptr);
    ~frmmain() override;

    // Window
    void perform(const Operation& operation) override;
    bool selectOption(Control option) override;
    std::string text(Control textBox) const override;
    BoardPoint labelPosition(std::int16_t square) const override;

    // The widget standing for a control; null for the timers.
    QWidget* control(Control c) const { return m_controls[static_cast<std::size_t>(c)]; }
    // Number label n (1..100) once the board is drawn, and the template (0).
    PlainLabel* label1(int n) const { return m_label1.at(static_cast<std::size_t>(n)); }
    QTimer& timer(Control timer) { return timer == Control::Timer1 ? m_timer1 : m_timer2; }
    const QTimer& timer(Control timer) const {
        return timer == Control::Timer1 ? m_timer1 : m_timer2;
    }
    PictureBoard& board() const { return *m_pictureboard; }
    const ImageSet& imageList1() const { return m_imageList1; }
    const ImageSet& imageList2() const { return m_imageList2; }
    const Game& game() const { return m_game; }
    // True while a move is being played out on screen; input to handlers waits for the end.
    bool isPlaying() const { return m_player.isPlaying(); }

    // The size of the layout's page. The window opens at it, and is never made smaller but
    // where the screen has less room; then the page scrolls.
    static QSize pageSize();
    // The layout's page, which scrolls where the window is smaller than it.
    QScrollArea& scrollArea() const { return *m_scroll; }

signals:
    // A move has been played out to its end.
    void moveFinished();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Fits the window into the room the screen has (see pageSize).
    void fitScreen();
    // Fits the window to the screen it is shown on, and follows that screen's room and scale.
    void showOn(QScreen* screen);
    // On a screen of another scale, the board is painted again and each picture shown in the
    // variant for it.
    void repaintForScale();
    void createControls();
    void connectEvents();
    void describeForScreenReaders();
    void apply(const Operation& operation);
    void setPicture(Control control, ImageList list, int index);
    void drawboard();
    void createNumberLabels();
    // Runs the handler unless a move is being played out; returns whether it ran.
    bool handle(void (Game::*handler)());
    void newGame();
    void optionClicked(Control option, void (Game::*handler)());

    std::array<QWidget*, kControlCount> m_controls{};
    // The picture each image control and the die shows, as list and index.
    std::array<std::pair<ImageList, int>, kControlCount> m_shownPictures{};
    std::array<PlainLabel*, 101> m_label1{};
    std::array<BoardPoint, 101> m_label1Position{}; // twips, as placed

    QScrollArea* m_scroll = nullptr;
    QWidget* m_page = nullptr;
    QPushButton* m_cmdexit = nullptr;
    PictureBoard* m_pictureboard = nullptr;
    qreal m_boardRatio = 0; // the device pixel ratio the board was painted for
    QSize m_fittedFrame;    // the window manager's frame, as last fitted to the screen
    std::optional<NewsTeller> m_news;
    std::optional<Control> m_selectedOption;

    QTimer m_timer1;
    QTimer m_timer2;
    ImageSet m_imageList1;
    ImageSet m_imageList2;
    // The board's painting, under way on another core from the start, until drawboard hands it
    // to the board.
    std::future<QImage> m_painting;
    OperationPlayer m_player;
    Game m_game;
};

} // namespace tavlo::ui
