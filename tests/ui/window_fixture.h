// SPDX-License-Identifier: GPL-3.0-or-later
// The real main window with a scripted die and pauses shortened to nothing.
#pragma once

#include "support/printers.h"
#include "support/scripted_random.h"

#include "game/board.h"

#include "ui/frmmain.h"
#include "ui/twips.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace tavlo::testing {

class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        open([](int) { return 0; });
    }

    // The window tells a screen reader the news by notification, with the die's description
    // repeating them, as with Qt 6.4, whatever Qt the tests run on; tests of the other ways
    // choose their `channels`.
    void open(ui::OperationPlayer::PauseLength pauseLength,
              ui::ScreenReaderChannels channels = {}) {
        // The winner flash draws on for as long as it runs; it must never run the script dry.
        random.carryOnWithSeed(1);
        window.reset();
        window = std::make_unique<ui::frmmain>(random, std::move(pauseLength), channels);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    template <class T = QWidget> T* widget(Control c) const {
        T* w = dynamic_cast<T*>(window->control(c));
        EXPECT_NE(w, nullptr) << controlName(c);
        return w;
    }
    QString caption(Control c) const { return widget<QLabel>(c)->text(); }
    // The picture an image control or the die shows.
    QPixmap shownPicture(Control c) const {
        if (auto* die = dynamic_cast<ui::PictureBox*>(window->control(c)))
            return die->pixmap();
        return widget<QLabel>(c)->pixmap();
    }
    QColor textColour(Control c) const {
        if (auto* label = dynamic_cast<ui::PlainLabel*>(window->control(c)))
            return label->textColour();
        return widget(c)->palette().color(QPalette::WindowText);
    }

    // The die, the tokens beside the names and at the start, and the board, as shown: each in the
    // variant for the window's screen, the sharp ones on a scaled screen.
    void expectPicturesForTheScreen() const {
        const qreal ratio = window->devicePixelRatioF();
        auto shows = [&](Control c, const ui::ImageSet& set, int index) {
            const QPixmap shown = shownPicture(c);
            return !shown.isNull() && shown.devicePixelRatio() == ratio &&
                   shown.toImage() == set.picture(index, ratio).toImage();
        };
        EXPECT_TRUE(shows(Control::picdice, window->imageList2(), kRestingDie));
        for (int n = 1; n <= 4; ++n) {
            EXPECT_TRUE(shows(player(n).startToken, window->imageList1(), player(n).cookie)) << n;
            EXPECT_TRUE(shows(player(n).legendToken, window->imageList1(), player(n).cookie)) << n;
        }
        const QImage& board = window->board().canvas();
        EXPECT_EQ(board.devicePixelRatio(), ratio);
        EXPECT_EQ(board.size(), window->board().size() * ratio);
    }

    void click(Control c) { QTest::mouseClick(widget(c), Qt::LeftButton); }

    // Rolls `face` by a click on the die, or by `roll`, and waits, through the real 60 ms timer,
    // until the move has been played out on screen.
    void rollAndWait(int face, const std::function<void()>& roll = {}) {
        random.pushRoll(face);
        QSignalSpy finished(window.get(), &ui::frmmain::moveFinished);
        roll ? roll() : click(Control::picdice);
        ASSERT_TRUE(finished.wait(5000)) << "the move never finished";
    }

    // Where player 1's token standing on square n appears, in board pixels.
    static QPoint onSquare(int square) {
        const BoardPoint origin = squareOrigin(square);
        return ui::pixels(origin.left, origin.top);
    }

    ScriptedRandom random;
    std::unique_ptr<ui::frmmain> window;
};

} // namespace tavlo::testing
