// SPDX-License-Identifier: GPL-3.0-or-later
#include "board_painting.h"

#include "image_set.h"
#include "twips.h"

#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tavlo::ui {

BoardCanvas::BoardCanvas(qreal devicePixelRatio)
    : image_(QSize(pixels(kBoardTwips), pixels(kBoardTwips)) * devicePixelRatio, kFormat) {
    image_.setDevicePixelRatio(devicePixelRatio);
    image_.fill(kBoardBackground);
}

QPoint BoardCanvas::toPixels(QPoint twips) const {
    const int last = pixels(kBoardTwips) - 1;
    return {std::clamp(pixels(twips.x()), 0, last), std::clamp(pixels(twips.y()), 0, last)};
}

void BoardCanvas::paintPicture(const QImage& picture, const QRect& twips) {
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(pixels(twips.x(), twips.y(), twips.width(), twips.height()), picture);
}

void BoardCanvas::setPen(int widthPixels, const QColor& colour) {
    pen_ = QPen(colour, widthPixels, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void BoardCanvas::drawLine(const QLine& twips) {
    const QPoint from = toPixels(twips.p1());
    const QPoint to = toPixels(twips.p2());
    if (from.x() != to.x() && from.y() != to.y()) {
        QPainter painter(&image_);
        painter.setPen(pen_);
        painter.drawLine(from, to);
        return;
    }
    // Along the grid: a band of whole device pixels centred on the line, as wide as the pen and
    // reaching as far as its round ends, so that no line comes out a pixel wider than the next at
    // a fractional scale.
    const qreal ratio = image_.devicePixelRatio();
    const int width = std::max(1, static_cast<int>(std::lround(pen_.widthF() * ratio)));
    const bool across = from.y() == to.y();
    const QSize size = image_.size();
    // The first device pixel of the band around a point `at` window pixels along an axis.
    auto bandStart = [&](int at, int extent) {
        return std::clamp(static_cast<int>(std::floor(at * ratio + 0.5 - width / 2.0)), 0,
                          extent - width);
    };
    const int along = across ? size.width() : size.height();
    const auto [first, last] =
        across ? std::minmax({from.x(), to.x()}) : std::minmax({from.y(), to.y()});
    const int begin = bandStart(first, along);
    const int length = bandStart(last, along) + width - begin;
    const int start =
        across ? bandStart(from.y(), size.height()) : bandStart(from.x(), size.width());
    image_.setDevicePixelRatio(1.0); // painted in device pixels
    QPainter(&image_).fillRect(across ? QRect(begin, start, length, width)
                                      : QRect(start, begin, width, length),
                               pen_.color());
    image_.setDevicePixelRatio(ratio);
}

namespace {

void paintGrid(BoardCanvas& board) {
    board.setPen(kGridPenPixels, Qt::black);
    for (int y = 1000; y <= 10000; y += 1000)
        board.drawLine({0, y, kBoardTwips, y});
    for (int x = 1000; x <= 10000; x += 1000)
        board.drawLine({x, 0, x, kBoardTwips});
}

void paintLadders(BoardCanvas& board) {
    for (const Ladder& ladder : kLadders) {
        board.setPen(kLadderPenPixels, ladder.colour);
        for (const QLine& rail : {ladder.rail1, ladder.rail2})
            board.drawLine(rail);
        for (int k = 0; k < ladder.rungs; ++k)
            board.drawLine(ladder.firstRung.translated(ladder.step * k));
    }
}

} // namespace

// The board is painted on a thread of its own while the window is built. A web page's program
// has no other thread (WebAssembly's need headers that a plain web server does not send): there it
// is painted on the GUI thread, when the board is first shown.
#ifdef __EMSCRIPTEN__
constexpr std::launch kPaintingLaunch = std::launch::deferred;
#else
constexpr std::launch kPaintingLaunch = std::launch::async;
#endif

std::future<QImage> paintBoard(const ImageSet& imageList1, qreal devicePixelRatio) {
    std::array<QString, kSnakePictures.size()> sources;
    for (std::size_t k = 0; k < sources.size(); ++k)
        sources[k] = imageList1.source(kSnakePictures[k].picture, devicePixelRatio);
    return std::async(kPaintingLaunch, [sources, devicePixelRatio] {
        BoardCanvas board(devicePixelRatio);
        for (std::size_t k = 0; k < sources.size(); ++k) {
            // The reader, and with it the resource's uncompressed bytes, goes before painting.
            const QImage snake = QImageReader(sources[k]).read();
            board.paintPicture(snake, kSnakePictures[k].rect);
        }
        paintGrid(board);
        paintLadders(board);
        return board.take();
    });
}

} // namespace tavlo::ui
