// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the game's real main window with a scripted die and times what a player would see.
//
//   bench_window_host timing [--rolls N]   the roll and each step of the walk against the
//                                          clock, with the real 60 ms ticks and 500 ms pauses
//   bench_window_host flash [--seconds S]  CPU and wake-ups while the winner flash runs,
//                                          against the same window sitting idle
//
// Results go to standard output as key=value lines; each roll's raw figures to standard error.
#include "proc_cost.h"

#include "support/scripted_random.h"

#include "app/start_up.h"
#include "ui/frmmain.h"
#include "ui/widgets.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

using tavlo::Control;
using tavlo::testing::ScriptedRandom;
using tavlo::ui::frmmain;

double median(std::vector<double> values) {
    if (values.empty())
        return NAN;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// How far the value farthest from `nominal` lies from it, sign kept.
double worst(const std::vector<double>& values, double nominal) {
    double found = 0;
    for (double v : values)
        if (std::abs(v - nominal) > std::abs(found))
            found = v - nominal;
    return found;
}

// Timestamps what the player sees change: a new die face painted, a token moved and painted.
class Watch : public QObject {
public:
    explicit Watch(const frmmain& window)
        : die_(static_cast<tavlo::ui::PictureBox*>(window.control(Control::picdice))),
          tokens_{window.control(Control::Image1), window.control(Control::Image2)} {
        clock_.start();
        die_->installEventFilter(this);
        for (QWidget* token : tokens_)
            token->installEventFilter(this);
        lastFace_ = die_->pixmap().cacheKey();
    }

    double nowMs() const { return static_cast<double>(clock_.nsecsElapsed()) / 1e6; }
    void clear() {
        release = -1;
        faces.clear();
        moves.clear();
        tokenPaints.clear();
    }

    double release = -1;             // the click on the die, which starts the roll's timer
    std::vector<double> faces;       // a different die picture painted
    std::vector<double> moves;       // a token moved to another square
    std::vector<double> tokenPaints; // a token painted after its move

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const double now = nowMs();
        if (watched == die_ && event->type() == QEvent::MouseButtonRelease) {
            release = now;
        } else if (watched == die_ && event->type() == QEvent::Paint) {
            // Other paints of the die (exposure, focus) show the same picture again.
            const qint64 face = die_->pixmap().cacheKey();
            if (face != lastFace_) {
                lastFace_ = face;
                faces.push_back(now);
            }
        } else if (event->type() == QEvent::Move) {
            moves.push_back(now);
            pendingPaint_ = watched;
        } else if (event->type() == QEvent::Paint && watched == pendingPaint_) {
            tokenPaints.push_back(now);
            pendingPaint_ = nullptr;
        }
        return false;
    }

private:
    QElapsedTimer clock_;
    tavlo::ui::PictureBox* die_;
    QWidget* tokens_[2];
    qint64 lastFace_ = 0;
    QObject* pendingPaint_ = nullptr;
};

bool waitForMove(QSignalSpy& finished) {
    if (finished.wait(15000))
        return true;
    std::fputs("bench_window_host: a move never finished\n", stderr);
    return false;
}

int timing(frmmain& window, ScriptedRandom& random, int rolls) {
    constexpr double kTickMs = 60;
    constexpr double kRollMs = kTickMs * tavlo::kRollTicks;
    constexpr double kStepMs = tavlo::kStepPauseMs;
    constexpr int kFace = 6;
    // Two players rolling sixes land on 6, 12 and 18: no snake or ladder on the way, so every
    // roll is a plain six-step walk. Later sixes would reach the snake on 24.
    rolls = std::clamp(rolls, 1, 6);

    Watch watch(window);
    auto* die = window.control(Control::picdice);
    std::vector<double> rollMs;
    std::vector<double> firstFaceMs;
    std::vector<double> stepMs;
    std::vector<double> driftMs;
    std::vector<double> paintLagMs;
    for (int roll = 0; roll < rolls; ++roll) {
        QTest::qWait(300); // let the previous move's last paint settle
        random.pushRoll(kFace);
        watch.clear();
        QSignalSpy finished(&window, &frmmain::moveFinished);
        QTest::mouseClick(die, Qt::LeftButton);
        if (!waitForMove(finished))
            return 1;
        QTest::qWait(50); // the die's rest picture is painted just after the move ends

        const double click = watch.release;
        const auto& f = watch.faces;
        const auto& m = watch.moves;
        if (click < 0 || f.size() != tavlo::kRollTicks + 1 || m.size() != kFace) {
            std::fprintf(stderr,
                         "bench_window_host: roll %d (click %s) showed %zu die pictures and %zu "
                         "moves, expected %d and %d\n",
                         roll + 1, click < 0 ? "not seen" : "seen", f.size(), m.size(),
                         tavlo::kRollTicks + 1, kFace);
            return 1;
        }
        const double lastFace = f[tavlo::kRollTicks - 1];
        rollMs.push_back(lastFace - click);
        firstFaceMs.push_back(f[0] - click);
        // The pause before the first step, the steps, and the pause before the die rests.
        std::vector<double> steps{m[0] - lastFace};
        for (std::size_t k = 1; k < m.size(); ++k)
            steps.push_back(m[k] - m[k - 1]);
        steps.push_back(f.back() - m.back());
        stepMs.insert(stepMs.end(), steps.begin(), steps.end());
        // How much later the sixth step came than the first, beyond the five pauses between.
        driftMs.push_back((m.back() - m.front()) - (kFace - 1) * kStepMs);
        for (std::size_t k = 0; k < m.size() && k < watch.tokenPaints.size(); ++k)
            paintLagMs.push_back(watch.tokenPaints[k] - m[k]);

        std::fprintf(stderr, "roll %d: roll %.2f ms, first face %.2f ms, steps", roll + 1,
                     rollMs.back(), firstFaceMs.back());
        for (double s : steps)
            std::fprintf(stderr, " %.2f", s);
        std::fprintf(stderr, ", drift %.2f ms\n", driftMs.back());
    }

    std::printf("rolls=%zu\nroll_nominal_ms=%.0f\nroll_ms_median=%.3f\nroll_dev_worst_ms=%.3f\n",
                rollMs.size(), kRollMs, median(rollMs), worst(rollMs, kRollMs));
    std::printf("first_face_ms_median=%.3f\n", median(firstFaceMs));
    std::printf("steps=%zu\nstep_nominal_ms=%.0f\nstep_ms_median=%.3f\nstep_dev_worst_ms=%.3f\n",
                stepMs.size(), kStepMs, median(stepMs), worst(stepMs, kStepMs));
    std::printf("drift_ms_median=%.3f\ndrift_ms_worst=%.3f\n", median(driftMs), worst(driftMs, 0));
    std::printf("move_to_paint_ms_median=%.3f\nmove_to_paint_ms_worst=%.3f\n", median(paintLagMs),
                worst(paintLagMs, 0));
    return 0;
}

// Counts the paints of one widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    std::atomic<int> paints = 0; // read by the sampling thread

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

struct Cost {
    int paints = 0;
    double seconds = 0;
    double cpuMs = 0;
    double cpuMsStat = 0;
    long long wakeups = 0;
};

// What this process costs over `seconds` of its event loop. A thread of its own takes the
// readings and leaves itself out: a thread cannot read its own CPU time from /proc exactly, and
// the event loop, left alone, shows what the window costs. The loop starts before the first
// reading, so entering it is not counted either.
Cost measure(double seconds, const PaintCounter* counted = nullptr) {
    QEventLoop loop;
    Cost c;
    std::thread sampler([&] {
        const pid_t self = getpid();
        const pid_t me = gettid();
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        const int paintsBefore = counted ? counted->paints.load() : 0;
        const auto before = tavlo::bench::readProcCost(self, me);
        const auto from = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
        const auto after = tavlo::bench::readProcCost(self, me);
        c.paints = counted ? counted->paints.load() - paintsBefore : 0;
        c.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
        c.cpuMs = static_cast<double>(after.cpuNs - before.cpuNs) / 1e6;
        c.cpuMsStat = tavlo::bench::ticksToMs(after.cpuTicks - before.cpuTicks);
        c.wakeups = after.voluntarySwitches - before.voluntarySwitches;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    sampler.join();
    return c;
}

void printCost(const char* name, const Cost& c) {
    std::printf("%s_seconds=%.3f\n%s_cpu_ms=%.3f\n%s_cpu_ms_stat=%.1f\n%s_voluntary=%lld\n", name,
                c.seconds, name, c.cpuMs, name, c.cpuMsStat, name, c.wakeups);
}

int flash(frmmain& window, ScriptedRandom& random, double seconds) {
    QTest::qWait(1000); // start-up work done, first frames painted
    const Cost idle = measure(seconds);

    // To a win in six rolls: player 1 to 6 and 12, player 2 to 1 and 2 meanwhile, then
    // player 1 to the ladder on 15 (up to 97, another roll) and to 100. The die ticks fast
    // here; only what happens after the win is measured.
    window.timer(Control::Timer2).setInterval(1);
    for (int face : {6, 1, 6, 1, 3, 3}) {
        random.pushRoll(face);
        QSignalSpy finished(&window, &frmmain::moveFinished);
        QTest::mouseClick(window.control(Control::picdice), Qt::LeftButton);
        if (!waitForMove(finished))
            return 1;
    }
    if (!window.timer(Control::Timer1).isActive() ||
        !window.control(Control::lblwinner)->isVisible()) {
        std::fputs("bench_window_host: the scripted game did not end in a win\n", stderr);
        return 1;
    }
    // Each flash tick draws one colour.
    for (int k = 0; k < 100000; ++k)
        random.push(std::fmod(k * 0.618034, 1.0));

    QTest::qWait(500);
    PaintCounter winner(window.control(Control::lblwinner));
    const Cost flashing = measure(seconds, &winner);
    printCost("idle", idle);
    printCost("flash", flashing);
    std::printf("flash_paints=%d\nflash_interval_ms=%d\n", flashing.paints,
                window.timer(Control::Timer1).interval());
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    const std::string mode = argc > 1 ? argv[1] : "";
    double amount = mode == "timing" ? 6 : 5;
    for (int i = 2; i + 1 < argc; i += 2)
        if (std::strcmp(argv[i], "--rolls") == 0 || std::strcmp(argv[i], "--seconds") == 0)
            amount = std::atof(argv[i + 1]);
    if (mode != "timing" && mode != "flash") {
        std::fputs("usage: bench_window_host timing [--rolls N] | flash [--seconds S]\n", stderr);
        return 2;
    }

    return tavlo::app::run(argc, argv, [&](QApplication&) {
        ScriptedRandom random;
        // The flash runs from the win on and must never find the script empty.
        random.carryOnWithSeed(1);
        // Timing keeps the real pauses; the flash only needs a quick way to a win.
        frmmain window(
            random,
            mode == "timing" ? tavlo::ui::OperationPlayer::PauseLength{} : [](int) { return 0; });
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) {
            std::fputs("bench_window_host: the window never showed\n", stderr);
            return 1;
        }
        std::printf("qt_version=%s\nplatform=%s\n", qVersion(),
                    qPrintable(QGuiApplication::platformName()));
        const int status = mode == "timing" ? timing(window, random, static_cast<int>(amount))
                                            : flash(window, random, amount);
        std::fflush(stdout);
        return status;
    });
}
