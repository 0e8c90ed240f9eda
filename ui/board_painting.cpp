// SPDX-License-Identifier: GPL-3.0-or-later
#include "board_painting.h"

#include "controls.h"
#include "image_set.h"

namespace tavlo::ui {

void paintSnakes(PictureBoard& board, const ImageSet& imageList1) {
    const qreal ratio = board.devicePixelRatioF();
    for (const SnakePicture& snake : kSnakePictures)
        board.paintPicture(imageList1.picture(snake.picture, ratio), snake.rect.x(), snake.rect.y(),
                           snake.rect.width(), snake.rect.height());
}

void paintGrid(PictureBoard& board) {
    board.setPen(kGridPenPixels, Qt::black);
    for (int y = 1000; y <= 10000; y += 1000)
        board.drawLine(0, y, board.scaleWidth(), y);
    for (int x = 1000; x <= 10000; x += 1000)
        board.drawLine(x, 0, x, board.scaleHeight());
}

void paintLadders(PictureBoard& board) {
    for (const Ladder& ladder : kLadders) {
        board.setPen(kLadderPenPixels, ladder.colour);
        board.drawLine(ladder.rail1.x1(), ladder.rail1.y1(), ladder.rail1.x2(), ladder.rail1.y2());
        board.drawLine(ladder.rail2.x1(), ladder.rail2.y1(), ladder.rail2.x2(), ladder.rail2.y2());
        for (int k = 0; k < ladder.rungs; ++k) {
            const QLine rung = ladder.firstRung.translated(ladder.step * k);
            board.drawLine(rung.x1(), rung.y1(), rung.x2(), rung.y2());
        }
    }
}

} // namespace tavlo::ui
