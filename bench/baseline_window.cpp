// SPDX-License-Identifier: GPL-3.0-or-later
// The least a Qt Widgets program of the game's size does to get its window on screen: the
// yardstick the game's start-up time and memory are compared against. It has the game's client
// size, its navy background and one white child where the board stands, so the frame probe
// can look for the same pixels in both, and one caption in Arial, so that finding and loading
// a font, which any window with text pays for, is on both sides of the comparison.
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
