// SPDX-License-Identifier: GPL-3.0-or-later
// The least a Qt Widgets program of the game's size does to get its window on screen: the
// yardstick the game's start-up time and memory are compared against. It has the game's client
// size, its navy background and one white child where the board stands, so the frame probe
// can look for the same pixels in both.
#include <QApplication>
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
    window.setPalette(navy);

    auto* area = new QWidget(&window);
    area->setGeometry(56, 24, 667, 667);
    area->setAutoFillBackground(true);
    QPalette white = area->palette();
    white.setColor(QPalette::Window, Qt::white);
    area->setPalette(white);

    window.show();
    return application.exec();
}
