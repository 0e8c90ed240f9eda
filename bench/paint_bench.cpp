// SPDX-License-Identifier: GPL-3.0-or-later
// What one step of a token costs to paint, against a repaint of the whole board, in the real
// main window, each followed by one turn of the event loop. A step goes the way the game makes
// it: a Move request through the window, then the update the toolkit scheduled for it; the whole
// board is a repaint of the board widget. Wall time counts the X server's share of the work:
// flushing each frame makes a round trip to the server.
#include "support/scripted_random.h"

#include "game/board.h"
#include "game/operation.h"

#include "ui/frmmain.h"
#include "ui/look.h"
#include "ui/widgets.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

namespace {

using tavlo::Control;

// Times each paint event of the board and of the widgets on it (number labels, tokens) from
// delivery to return: the window's own painting, without the toolkit's fixed work around every
// frame (preparing the backing store, flushing it to the X server, waiting for the server).
class TimingApplication : public QApplication {
public:
    using QApplication::QApplication;

    QWidget* board = nullptr;
    std::int64_t paintNs = 0;
    std::int64_t widgetsPainted = 0;

    bool notify(QObject* receiver, QEvent* event) override {
        auto* widget = event->type() == QEvent::Paint ? qobject_cast<QWidget*>(receiver) : nullptr;
        if (!widget || !board || (widget != board && !board->isAncestorOf(widget)))
            return QApplication::notify(receiver, event);
        QElapsedTimer clock;
        clock.start();
        const bool handled = QApplication::notify(receiver, event);
        paintNs += clock.nsecsElapsed();
        ++widgetsPainted;
        return handled;
    }
};
TimingApplication* application = nullptr;

// What the board is asked to paint: how often and how many pixels.
class BoardPaints : public QObject {
public:
    explicit BoardPaints(QWidget* board)
        : startNs_(application->paintNs), startWidgets_(application->widgetsPainted) {
        board->installEventFilter(this);
    }
    double paints = 0;
    double pixels = 0;
    double paintUs() const { return static_cast<double>(application->paintNs - startNs_) / 1e3; }
    double widgets() const {
        return static_cast<double>(application->widgetsPainted - startWidgets_);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            for (const QRect& r : static_cast<QPaintEvent*>(event)->region())
                pixels += static_cast<double>(r.width()) * r.height();
        }
        return false;
    }

private:
    std::int64_t startNs_;
    std::int64_t startWidgets_;
};

struct Table {
    tavlo::testing::ScriptedRandom random;
    tavlo::ui::frmmain window{random, [](int) { return 0; }};
};
Table* table = nullptr;

// One turn of the event loop, as the program takes after each step: the update the toolkit
// scheduled is painted and flushed, and the X server's replies are handled, so they do not pile
// up over thousands of iterations.
void paintPending() {
    QCoreApplication::processEvents();
}

void report(benchmark::State& state, const BoardPaints& counted) {
    if (counted.paints == 0) {
        state.SkipWithError("the board was never painted");
        return;
    }
    using benchmark::Counter;
    state.counters["board_px"] = Counter(counted.pixels, Counter::kAvgIterations);
    state.counters["board_paints"] = Counter(counted.paints, Counter::kAvgIterations);
    state.counters["paint_us"] = Counter(counted.paintUs(), Counter::kAvgIterations);
    state.counters["widgets_painted"] = Counter(counted.widgets(), Counter::kAvgIterations);
}

void BM_TokenStep(benchmark::State& state) {
    tavlo::ui::frmmain& window = table->window;
    const tavlo::TokenRect& size = window.game().state().tokenrectp1;
    // Back and forth between squares 1 and 2, with the red pawn the game would show there.
    const tavlo::BoardPoint squares[2] = {tavlo::squareOrigin(1), tavlo::squareOrigin(2)};
    window.perform(tavlo::op::SetPicture{Control::Image1, tavlo::ImageList::ImageList1, 6});
    window.perform(
        tavlo::op::Move{Control::Image1, squares[0].left, squares[0].top, size.Width, size.Height});
    paintPending();

    BoardPaints counted(&window.board());
    int next = 1;
    for (auto _ : state) {
        const tavlo::BoardPoint to = squares[next];
        next = 1 - next;
        window.perform(tavlo::op::Move{Control::Image1, to.left, to.top, size.Width, size.Height});
        paintPending();
    }
    report(state, counted);
}

void BM_FullBoard(benchmark::State& state) {
    tavlo::ui::PictureBoard& board = table->window.board();
    paintPending();
    BoardPaints counted(&board);
    for (auto _ : state) {
        board.repaint();
        paintPending();
    }
    report(state, counted);
}

// The least any frame costs: one pixel of the board repainted, flushed and its replies handled.
// What a step costs beyond this is what it paints.
void BM_OnePixel(benchmark::State& state) {
    tavlo::ui::PictureBoard& board = table->window.board();
    paintPending();
    BoardPaints counted(&board);
    for (auto _ : state) {
        board.repaint(300, 300, 1, 1);
        paintPending();
    }
    report(state, counted);
}

BENCHMARK(BM_TokenStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullBoard)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OnePixel)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char* argv[]) {
    benchmark::Initialize(&argc, argv);
    TimingApplication timing(argc, argv); // takes what the benchmark library left
    application = &timing;
    tavlo::ui::applyLook(timing);

    auto owned = std::make_unique<Table>();
    table = owned.get();
    timing.board = &table->window.board();
    table->window.show();
    if (!QTest::qWaitForWindowExposed(&table->window))
        return 1;
    QTest::qWait(200); // the first frames are painted

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
