// SPDX-License-Identifier: GPL-3.0-or-later
// What the board shows, in board twips: where each snake picture goes, the grid, and the four
// ladders. Each snake picture is stretched so that its head lies on the snake's head square and
// its tail on its tail square; each ladder's rails run from its foot square to its top square.
#pragma once

#include "game/board.h"

#include <QColor>
#include <QImage>
#include <QLine>
#include <QPen>
#include <QRect>

#include <array>
#include <future>

namespace tavlo::ui {

class ImageSet;

struct SnakePicture {
    int picture; // in ImageList1
    QRect rect;  // twips
    int head;    // square
    int tail;    // square
};

// In painting order: pictures 3 and 5 are painted over picture 1 where they overlap.
inline const std::array<SnakePicture, 5> kSnakePictures{{
    {1, {1000, 0, 5000, 10000}, 99, 6},
    {2, {8000, 2000, 2000, 6000}, 71, 29},
    {3, {0, 7000, 4000, 3000}, 24, 1},
    {4, {6000, 1000, 2000, 3000}, 88, 67},
    {5, {5000, 4000, 3000, 5000}, 55, 13},
}};

struct Ladder {
    int foot; // square
    int top;  // square
    QColor colour;
    QLine rail1;
    QLine rail2;
    QLine firstRung;
    QPoint step; // added to both ends of each further rung
    int rungs;
};

inline const std::array<Ladder, 4> kLadders{{
    {8, 31, Qt::blue, QLine(7300, 9400, 9300, 6400), QLine(7700, 9600, 9700, 6600),
     QLine(7500, 9100, 7900, 9300), QPoint(200, -300), 9},
    {15, 97, Qt::blue, QLine(5200, 8400, 3200, 500), QLine(5600, 8300, 3600, 400),
     QLine(5100, 8100, 5500, 8000), QPoint(-75, -300), 25},
    {66, 87, Qt::red, QLine(5200, 3500, 6200, 1500), QLine(5600, 3600, 6600, 1600),
     QLine(5300, 3300, 5700, 3400), QPoint(150, -300), 6},
    {42, 81, Qt::red, QLine(1200, 5500, 200, 1500), QLine(1550, 5400, 550, 1400),
     QLine(1150, 5300, 1500, 5200), QPoint(-75, -300), 13},
}};

inline constexpr QColor kBoardBackground(255, 255, 255);
inline constexpr int kGridPenPixels = 1;
inline constexpr int kLadderPenPixels = 3;

// The board's painting: an opaque image of the board's size at a screen's device pixel ratio,
// painted on in board twips. A pen's width is in pixels of the window; a line along the grid is
// drawn a whole number of the screen's pixels wide, the same for every such line at any scale.
class BoardCanvas {
public:
    static constexpr QImage::Format kFormat = QImage::Format_RGB32;

    explicit BoardCanvas(qreal devicePixelRatio);
    // Paints the whole picture stretched into `twips`, over what lies beneath.
    void paintPicture(const QImage& picture, const QRect& twips);
    void setPen(int widthPixels, const QColor& colour);
    void drawLine(const QLine& twips);
    // The painting, once done; the canvas is left empty.
    QImage take() { return std::move(image_); }

private:
    // A point in window pixels on the board; the lines at the far edges (10000 twips) fall just
    // outside the last pixel and are kept in.
    QPoint toPixels(QPoint twips) const;

    QImage image_;
    QPen pen_;
};

// Paints the whole board on a thread of its own (a web page's, on the GUI thread): the snake
// pictures (decoded one at a time and dropped once painted, so `imageList1` never holds them),
// the grid over them, then the ladders, at the given device pixel ratio. Call on the GUI thread.
std::future<QImage> paintBoard(const ImageSet& imageList1, qreal devicePixelRatio);

} // namespace tavlo::ui
