// SPDX-License-Identifier: GPL-3.0-or-later
#include "board_painting.h"

#include "controls.h"
#include "image_set.h"
#include "twips.h"

#include <QImageReader>
#include <QPainter>

namespace tavlo::ui {

std::future<QImage> paintSnakes(const ImageSet& imageList1, qreal devicePixelRatio) {
    std::array<QString, kSnakePictures.size()> sources;
    for (std::size_t k = 0; k < sources.size(); ++k)
        sources[k] = imageList1.source(kSnakePictures[k].picture, devicePixelRatio);
    return std::async(std::launch::async, [sources, devicePixelRatio] {
        const QSize size(pixels(kBoardTwips.width()), pixels(kBoardTwips.height()));
        QImage canvas(size * devicePixelRatio, PictureBoard::kCanvasFormat);
        canvas.setDevicePixelRatio(devicePixelRatio);
        canvas.fill(kBoardBackground);
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        for (std::size_t k = 0; k < sources.size(); ++k) {
            // The reader, and with it the resource's uncompressed bytes, goes before painting.
            const QImage snake = QImageReader(sources[k]).read();
            const QRect& r = kSnakePictures[k].rect;
            painter.drawImage(pixels(r.x(), r.y(), r.width(), r.height()), snake);
        }
        painter.end();
        return canvas;
    });
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
