// SPDX-License-Identifier: GPL-3.0-or-later
// Where the game's start-up time and memory go, phase by phase, in one fresh process: the
// toolkit, decoding the pictures (the ones shown at scale 1 and their sharper @2x variants
// separately, then the picture lists as the window keeps them), the first text, building the
// window, and its first frame. Each line gives the
// time since main started and the resident memory then (current and peak). A diagnostic for
// docs/benchmarks.md, not part of the table.
#include "ui/application.h"
#include "ui/frmmain.h"
#include "ui/image_set.h"

#include "game/random_source.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QImageReader>
#include <QPixmap>
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

// Decodes every picture whose name does (or does not) hold "@2x", as the window's picture
// lists do, and keeps nothing.
void decode(bool doubled) {
    const QDir images(QStringLiteral(":/images"));
    for (const QString& name : images.entryList(QDir::Files)) {
        if (name.contains(QStringLiteral("@2x")) != doubled)
            continue;
        const QPixmap picture = QPixmap::fromImage(QImageReader(images.filePath(name)).read());
        if (picture.isNull())
            std::fprintf(stderr, "bench_startup_phases: cannot read %s\n", qPrintable(name));
    }
}

} // namespace

int main(int argc, char* argv[]) {
    sinceMain.start();
    phase("main");
    auto guard = std::make_unique<tavlo::ui::DisplayGuard>();
    QApplication application(argc, argv);
    guard.reset();
    tavlo::ui::prepareApplication(application);
    phase("toolkit ready (QApplication, style)");

    decode(false);
    phase("pictures for scale 1 decoded");
    decode(true);
    phase("@2x pictures decoded");

    // What the window holds of them: the two picture lists, kept until the end.
    const tavlo::ui::ImageSet pictures1 = tavlo::ui::makeImageList1();
    const tavlo::ui::ImageSet pictures2 = tavlo::ui::makeImageList2();
    phase("picture lists built and kept, as the window holds them");

    QFont font(QStringLiteral("Arial"));
    font.setPointSize(12);
    font.setBold(true);
    std::printf("%38s(first text: %d px wide)\n", "",
                QFontMetrics(font).horizontalAdvance(QStringLiteral("100")));
    phase("first text measured (fonts found)");

    tavlo::ClockRandom random;
    tavlo::ui::frmmain window(random);
    phase("window built (its own picture lists, controls, board painted)");
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    QCoreApplication::processEvents();
    phase("first frame painted and flushed");
    return 0;
}
