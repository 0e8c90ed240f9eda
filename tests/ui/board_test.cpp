// SPDX-License-Identifier: GPL-3.0-or-later
// The painted board: snake pictures, grid, number labels and ladders, and how they agree with
// the squares the rules jump between.
#include "window_fixture.h"

#include "ui/board_painting.h"

#include <cmath>
#include <future>
#include <set>
#include <thread>
#include <utility>
#include <vector>

namespace tavlo::testing {
namespace {

using Board = WindowFixture;

constexpr QRgb kBlack = 0xFF000000, kWhite = 0xFFFFFFFF, kBlue = 0xFF0000FF, kRed = 0xFFFF0000;

QImage canvasOf(const ui::frmmain& window) {
    // One canvas pixel per board pixel, whatever the screen's scale.
    return window.board().canvas().scaled(window.board().size());
}

TEST_F(Board, NumberLabelsStandOnTheirSquaresWithTheirNumbers) {
    for (int n = 1; n <= 100; ++n) {
        SCOPED_TRACE(n);
        const BoardPoint origin = squareOrigin(n);
        EXPECT_EQ(window->labelPosition(static_cast<std::int16_t>(n)), origin);
        ui::PlainLabel* label = window->label1(n);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->parentWidget(), &window->board());
        EXPECT_EQ(label->geometry(), ui::pixels(origin.left, origin.top, 1000, 300));
        EXPECT_EQ(label->text(), QStringLiteral(" %1").arg(n));
        EXPECT_EQ(label->font().pointSizeF(), 12);
        EXPECT_TRUE(label->font().bold());
        EXPECT_FALSE(label->autoFillBackground()) << "transparent background";
        EXPECT_TRUE(label->isVisible());
    }
    EXPECT_FALSE(window->label1(0)->isVisible()) << "the template stays hidden";
}

TEST_F(Board, GridIsBlackOverTheSnakesWithNoLineAtTheTopOrLeftEdge) {
    const QImage canvas = canvasOf(*window);
    // Vertical line x = 1000 through snake picture 3, horizontal y = 1000 through picture 4.
    EXPECT_EQ(canvas.pixel(ui::pixels(1000), ui::pixels(9500)), kBlack);
    EXPECT_EQ(canvas.pixel(ui::pixels(6500), ui::pixels(1000)), kBlack);
    // Along the top edge of squares 91..94, clear of snakes and ladders: white except where a
    // vertical line meets it.
    std::set<int> gridColumns;
    for (int x = 1000; x <= 10000; x += 1000)
        gridColumns.insert(ui::pixels(x));
    for (int x = ui::pixels(6000) + 1; x < canvas.width() - 1; ++x)
        EXPECT_EQ(canvas.pixel(x, 0), gridColumns.count(x) ? kBlack : kWhite) << "x " << x;

    // At any scale each line is as wide as every other, in whole pixels of the screen: across
    // the top row right of the long snake, and down the right-hand column below the snake there,
    // each to the line at 10000, kept on the board's last pixel row and column.
    for (const qreal ratio : {1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0}) {
        SCOPED_TRACE(ratio);
        const QImage painted = ui::paintBoard(window->imageList1(), ratio).get();
        auto runs = [&](QPoint at, QPoint step) {
            std::vector<int> widths;
            for (int run = 0; painted.valid(at); at += step) {
                const bool black = painted.pixel(at) == kBlack;
                if (!black && run > 0)
                    widths.push_back(std::exchange(run, 0));
                run += black;
                if (black && !painted.valid(at + step))
                    widths.push_back(run);
            }
            return widths;
        };
        const auto device = [&](int twips) { return static_cast<int>(ui::pixels(twips) * ratio); };
        const std::vector<int> expected(4, static_cast<int>(std::lround(ratio)));
        EXPECT_EQ(runs({device(6100), device(500)}, {1, 0}), expected) << "across the top row";
        EXPECT_EQ(runs({device(9500), device(8100)}, {0, 1}),
                  std::vector<int>(expected.begin(), expected.begin() + 2))
            << "down the right-hand column";
    }
}

TEST_F(Board, LaddersHaveRailsThreePixelsWideAndTheirRungsFromFootToTopInTheirColour) {
    const QImage canvas = canvasOf(*window);
    for (const ui::Ladder& ladder : ui::kLadders) {
        SCOPED_TRACE(ladder.foot);
        // Pure blue or red, which snakePixels tells apart from the snakes.
        EXPECT_TRUE(ladder.colour == QColor(kBlue) || ladder.colour == QColor(kRed));
        const QRgb colour = ladder.colour.rgb();
        for (const QLine& rail : {ladder.rail1, ladder.rail2}) {
            // Sample the rail at a third of its length, off grid lines.
            const QPoint at = ui::pixels(rail.x1() + (rail.x2() - rail.x1()) / 3,
                                         rail.y1() + (rail.y2() - rail.y1()) / 3);
            // Every rail is steep, so a row crosses it at about its width.
            int coloured = 0;
            for (int dx = -4; dx <= 4; ++dx)
                coloured += canvas.pixel(at.x() + dx, at.y()) == colour;
            EXPECT_GE(coloured, 3) << "across the rail at " << at.x() << ", " << at.y();
            EXPECT_LE(coloured, 4);
        }
        auto rung = [&](int k) { return ladder.firstRung.translated(ladder.step * k); };
        for (int k = 0; k < ladder.rungs; ++k)
            EXPECT_EQ(canvas.pixel(ui::pixels(rung(k).center().x(), rung(k).center().y())), colour)
                << "rung " << k;
        // Each rail goes on past the first and the last rung by about the rungs' spacing: every
        // rung meets the rails, none is missing at either end, nor is one too many.
        const qreal spacing = QLineF(QPointF(), ladder.step).length();
        const QLine last = rung(ladder.rungs - 1);
        for (const QLine end :
             {QLine(ladder.rail1.p1(), ladder.firstRung.p1()),
              QLine(ladder.rail2.p1(), ladder.firstRung.p2()), QLine(last.p1(), ladder.rail1.p2()),
              QLine(last.p2(), ladder.rail2.p2())}) {
            EXPECT_GT(QLineF(end).length(), spacing / 2) << end.x1() << ", " << end.y1();
            EXPECT_LT(QLineF(end).length(), spacing * 3 / 2) << end.x1() << ", " << end.y1();
        }
    }
}

TEST_F(Board, SnakesAndLaddersDrawnAreTheOnesTheRulesJumpAlong) {
    auto squareOf = [](int x, int y) {
        return squareAt({static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)});
    };
    std::set<std::pair<int, int>> drawn, ruled;
    for (const ui::Ladder& ladder : ui::kLadders)
        for (const QLine& rail : {ladder.rail1, ladder.rail2}) {
            EXPECT_EQ(squareOf(rail.x1(), rail.y1()), ladder.foot);
            EXPECT_EQ(squareOf(rail.x2(), rail.y2()), ladder.top);
            drawn.insert({ladder.foot, ladder.top});
        }
    for (const ui::SnakePicture& snake : ui::kSnakePictures) {
        // The head lies in a top corner cell of the picture's rectangle, the tail in the
        // opposite bottom corner.
        const QRect r = snake.rect;
        const int left = r.x() + 500, right = r.x() + r.width() - 500;
        const int top = r.y() + 500, bottom = r.y() + r.height() - 500;
        const bool headLeft = squareOf(left, top) == snake.head;
        EXPECT_TRUE(headLeft || squareOf(right, top) == snake.head) << snake.picture;
        EXPECT_EQ(squareOf(headLeft ? right : left, bottom), snake.tail) << snake.picture;
        drawn.insert({snake.head, snake.tail});
    }
    for (const Jump& jump : kJumps)
        ruled.insert({jump.from, jump.to});
    EXPECT_EQ(drawn, ruled);
}

// Counts the pixels of an area that belong to neither the grid, the ladders nor a white
// background: the body of a snake.
int snakePixels(const QImage& canvas, const QRect& twips) {
    const QRect area = ui::pixels(twips.x(), twips.y(), twips.width(), twips.height());
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = canvas.pixel(x, y);
            count += p != kWhite && p != kBlack && p != kBlue && p != kRed &&
                     qGray(p) < 235; // not the near-white edge of the background
        }
    return count;
}

TEST_F(Board, LaterSnakePicturesCoverTheLongSnakeWhereTheyOverlap) {
    // The long snake (picture 1) keeps its body out of the two overlaps, so any snake there was
    // painted after it: picture 3 in the first overlap, picture 5 in the second.
    const QImage long1 = window->imageList1().original(1).scaled(333, 667);
    const QRect overlap3(0, 467, 200, 200);  // picture 1's pixels under x 1000-4000, y 7000-10000
    const QRect overlap5(267, 267, 66, 333); // under x 5000-6000, y 4000-9000
    for (const QRect& r : {overlap3, overlap5})
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                ASSERT_GT(qGray(long1.pixel(x, y)), 235)
                    << "picture 1 is white at " << x << ", " << y;

    const QImage canvas = canvasOf(*window);
    EXPECT_GT(snakePixels(canvas, {1000, 7000, 3000, 3000}), 2000) << "picture 3 over picture 1";
    EXPECT_GT(snakePixels(canvas, {5000, 4000, 1000, 5000}), 500) << "picture 5 over picture 1";
}

// The snake pictures the painting let go can still be fetched once it is done.
TEST_F(Board, SnakePicturesCanStillBeFetchedOnceTheBoardIsPainted) {
    ASSERT_FALSE(window->board().grab().toImage().isNull());
    for (const ui::SnakePicture& snake : ui::kSnakePictures)
        EXPECT_EQ(
            window->imageList1().picture(snake.picture).toImage(),
            window->imageList1().original(snake.picture).convertToFormat(QImage::Format_RGB32))
            << snake.picture;
}

// The board waits for a painting that comes late, and a window closed before it was ever shown
// waits for its painting to end before it goes.
TEST(PictureBoard, ShowsAPaintingThatComesLateAndAWindowNeverShownClosesCleanly) {
    ui::PictureBoard board(nullptr);
    board.resize(100, 100);
    std::promise<QImage> painting;
    board.setPainting(painting.get_future());
    QImage red(board.size() * board.devicePixelRatioF(), ui::BoardCanvas::kFormat);
    red.setDevicePixelRatio(board.devicePixelRatioF());
    red.fill(Qt::red);
    std::thread painter([&] { painting.set_value(red); });
    EXPECT_EQ(board.grab().toImage().scaled(board.size()).pixelColor(50, 50), QColor(Qt::red));
    painter.join();

    ScriptedRandom random;
    for (int k = 0; k < 3; ++k) {
        ui::frmmain closed(random);
        closed.close();
    }
}

TEST_F(Board, KeepsItsPaintingThroughAGame) {
    const QImage before = canvasOf(*window);
    rollAndWait(4);
    click(Control::cmdnewgame);
    EXPECT_EQ(canvasOf(*window), before);
    // And shows it: a screen grab of an empty square is the canvas.
    const QImage shown = window->board().grab().toImage().scaled(window->board().size());
    const QPoint inside = ui::pixels(9500, 9700);
    EXPECT_EQ(shown.pixel(inside), before.pixel(inside));
}

} // namespace
} // namespace tavlo::testing
