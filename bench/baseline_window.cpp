// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick of the game's first frame and memory: the least a Qt Widgets window of the game's
// size does to show the pixels the frame probe looks for in both (docs/benchmarks.md), and one
// caption in Arial, so that loading a font, which any window with text pays for, is on both sides.
#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Tavlo benchmark baseline"));
    window.setFixedSize(985, 702);
    window.setAutoFillBackground(true);
    QPalette navy = window.palette();
    navy.setColor(QPalette::Window, QColor(0, 0, 25));
    navy.setColor(QPalette::WindowText, Qt::white);
    window.setPalette(navy);

    auto* area = new QWidget(&window);
    area->setGeometry(56, 24, 667, 667);
    area->setAutoFillBackground(true);
    QPalette white = area->palette();
    white.setColor(QPalette::Window, Qt::white);
    area->setPalette(white);

    // Where the game's turn label stands, clear of the pixels the probe reads.
    auto* caption = new QLabel(QStringLiteral("Player 1's Turn"), &window);
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSize(12);
    arial.setBold(true);
    caption->setFont(arial);
    caption->setGeometry(760, 64, 201, 25);

    window.show();
    return application.exec();
}
