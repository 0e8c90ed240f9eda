// SPDX-License-Identifier: GPL-3.0-or-later
// Where the game's start-up time and memory go, phase by phase, in one fresh process started as
// the game is: the toolkit, decoding the pictures of the first frame in the variant the screen
// needs, one after another on the GUI thread (the window has the snakes decoded on another
// thread), the first text, building the window, and its first frame. Each line gives the time since
// main started and the resident memory then (current and peak). A diagnostic for
// docs/benchmarks.md, not part of the table.
#include "app/start_up.h"
#include "ui/frmmain.h"
#include "ui/image_set.h"

#include "game/random_source.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QImageReader>
#include <QTest>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

QElapsedTimer sinceMain;

void phase(const char* name) {
    std::ifstream status("/proc/self/status");
    std::string key;
    long rss = 0;
    long peak = 0;
    while (status >> key) {
        if (key == "VmRSS:")
            status >> rss;
        else if (key == "VmHWM:")
            status >> peak;
    }
    std::printf("%8.2f ms  %7.1f MB  %7.1f MB peak  %s\n",
                static_cast<double>(sinceMain.nsecsElapsed()) / 1e6, rss / 1024.0, peak / 1024.0,
                name);
}

// Decodes the pictures of the first frame (the snakes, the pawns, the die at rest) for a screen
// of the given ratio, and keeps nothing.
void decode(qreal devicePixelRatio) {
    const tavlo::ui::ImageSet pictures1 = tavlo::ui::makeImageList1();
    const tavlo::ui::ImageSet pictures2 = tavlo::ui::makeImageList2();
    QStringList sources;
    for (int i = 1; i <= pictures1.count(); ++i)
        sources << pictures1.source(i, devicePixelRatio);
    sources << pictures2.source(pictures2.count(), devicePixelRatio);
    for (const QString& source : std::as_const(sources))
        if (QImageReader(source).read().isNull())
            std::fprintf(stderr, "bench_startup_phases: cannot read %s\n", qPrintable(source));
}

} // namespace

int main(int argc, char* argv[]) {
    sinceMain.start();
    phase("main");
    return tavlo::app::run(argc, argv, [](QApplication&) {
        phase("toolkit ready (QApplication, style, palette, font)");

        const qreal ratio = qApp->devicePixelRatio();
        decode(ratio);
        std::printf("%38s(at a device pixel ratio of %g)\n", "", ratio);
        phase("the first frame's pictures decoded here, one after another");

        QFont font(QStringLiteral("Arial"));
        font.setPointSize(12);
        font.setBold(true);
        std::printf("%38s(first text: %d px wide)\n", "",
                    QFontMetrics(font).horizontalAdvance(QStringLiteral("100")));
        phase("first text measured (fonts found)");

        tavlo::ClockRandom random;
        tavlo::ui::frmmain window(random);
        phase("window built (the board painted on another thread meanwhile)");
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return 1;
        QCoreApplication::processEvents();
        phase("first frame painted and flushed");
        return 0;
    });
}
