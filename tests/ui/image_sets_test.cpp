// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures: what each index holds, at what size, in what format, with what transparency.
#include "ui/image_set.h"

#include <QIcon>
#include <QImageReader>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace tavlo::testing {
namespace {

const char* const kList2[] = {"die1", "die2", "die3", "die4", "die5", "die6", "dierest"};
const char* const kPawns[] = {"pawn_red", "pawn_blue", "pawn_cream", "pawn_green"};

bool opaqueEverywhere(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).alpha() != 255)
                return false;
    return true;
}

// Dark, opaque blobs of at least `minimum` pixels and at most a quarter of the picture across:
// the pips of a die face, not the border around it.
int darkBlobs(const QImage& image, int minimum) {
    const int w = image.width(), h = image.height();
    std::vector<bool> seen(static_cast<std::size_t>(w * h));
    // Marks the unseen dark pixels joined to (x, y), returning how many, and takes in their bounds.
    auto fill = [&](auto& self, int x, int y, QRect& bounds) -> int {
        if (x < 0 || y < 0 || x >= w || y >= h || seen[static_cast<std::size_t>(y * w + x)])
            return 0;
        const QColor c = image.pixelColor(x, y);
        if (c.alpha() <= 128 || c.lightness() >= 60)
            return 0;
        seen[static_cast<std::size_t>(y * w + x)] = true;
        bounds |= QRect(x, y, 1, 1);
        return 1 + self(self, x + 1, y, bounds) + self(self, x - 1, y, bounds) +
               self(self, x, y + 1, bounds) + self(self, x, y - 1, bounds);
    };
    int blobs = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            QRect bounds;
            blobs += fill(fill, x, y, bounds) >= minimum && bounds.width() <= w / 4 &&
                     bounds.height() <= h / 4;
        }
    return blobs;
}

// The mean colour of the opaque pixels.
QColor meanColour(const QImage& image) {
    double r = 0, g = 0, b = 0, n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() < 255)
                continue;
            r += c.red();
            g += c.green();
            b += c.blue();
            ++n;
        }
    return QColor(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n));
}

// ROLL and DICE in letters on the resting die: neither a face's pips nor blank.
TEST(ImageList2, HoldsSevenTransparentDiePicturesOf80By80WithKPipsOnFaceK) {
    const ui::ImageSet set = ui::makeImageList2();
    ASSERT_EQ(set.count(), 7);
    for (int i = 1; i <= 7; ++i) {
        SCOPED_TRACE(kList2[i - 1]);
        const QImage image = set.original(i);
        EXPECT_EQ(image.size(), QSize(80, 80));
        EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << "outside the rounded body";
        EXPECT_EQ(image.pixelColor(40, 40).alpha(), 255);
        if (i <= 6)
            EXPECT_EQ(darkBlobs(image, 20), i);
        else
            EXPECT_GE(darkBlobs(image, 5), 7);
    }
    EXPECT_TRUE(set.picture(8).isNull());
    EXPECT_TRUE(set.picture(0).isNull());
}

TEST(ImageList1, SnakePicturesHaveTheirSizesWithoutTransparency) {
    const ui::ImageSet set = ui::makeImageList1();
    ASSERT_EQ(set.count(), 9);
    const QSize sizes[] = {{323, 470}, {131, 435}, {277, 195}, {125, 342}, {125, 342}};
    for (int i = 1; i <= 5; ++i) {
        SCOPED_TRACE(i);
        const QImage image = set.original(i);
        EXPECT_EQ(image.size(), sizes[i - 1]);
        EXPECT_TRUE(opaqueEverywhere(image));
        EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white)) << "white background";
    }
}

TEST(ImageList1, PawnsAreTransparent50By50InRedBlueCreamGreenOrder) {
    const ui::ImageSet set = ui::makeImageList1();
    for (int i = 6; i <= 9; ++i) {
        SCOPED_TRACE(kPawns[i - 6]);
        const QImage image = set.original(i);
        EXPECT_EQ(image.size(), QSize(50, 50));
        EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
    }
    const QColor red = meanColour(set.original(6)), blue = meanColour(set.original(7)),
                 cream = meanColour(set.original(8)), green = meanColour(set.original(9));
    EXPECT_GT(red.red(), red.green() + 60) << "6 is the red pawn of player 1";
    EXPECT_GT(blue.blue(), blue.red() + 40) << "7 is the dark blue pawn of player 3";
    EXPECT_GT(blue.blue(), blue.green() + 40);
    EXPECT_GT(cream.lightness(), std::max({red.lightness(), blue.lightness(), green.lightness()}))
        << "8 is the cream pawn of player 4";
    EXPECT_GT(cream.red(), cream.blue());
    EXPECT_GT(green.green(), green.red() + 40) << "9 is the bright green pawn of player 2";
}

TEST(ImageList1, RedAndGreenPawnsDifferInShapeNotOnlyInColour) {
    // Seen without colour, the two pawns a red-green colour-blind player confuses still differ.
    const ui::ImageSet set = ui::makeImageList1();
    const QImage red = set.original(6).convertToFormat(QImage::Format_Grayscale8);
    const QImage green = set.original(9).convertToFormat(QImage::Format_Grayscale8);
    const QImage redMask = set.original(6).createAlphaMask();
    int differentDark = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x) {
            const bool redDark = qGray(red.pixel(x, y)) < 80 && redMask.pixelIndex(x, y);
            const bool greenDark = qGray(green.pixel(x, y)) < 80;
            differentDark += redDark != greenDark;
        }
    EXPECT_GT(differentDark, 20);
}

// A screen scaled by up to 2 takes the double-size variant, and one scaled by more the
// triple-size one: no picture is shown enlarged from a smaller one up to scale 3. Each variant is
// as transparent as the picture.
TEST(ImageSets, SharpVariantsAreAtLeastAsLargeAsShownAndKeepTheLogicalSize) {
    const ui::ImageSet dice = ui::makeImageList2();
    const ui::ImageSet board = ui::makeImageList1();
    constexpr QImage::Format kArgb = QImage::Format_ARGB32;
    for (const qreal ratio : {1.0, 1.25, 1.5, 2.0, 2.5, 3.0}) {
        SCOPED_TRACE(ratio);
        const qreal variant = std::ceil(ratio);
        for (const ui::ImageSet* set : {&dice, &board})
            for (int i = 1; i <= set->count(); ++i) {
                const QPixmap sharp = set->picture(i, ratio);
                const QSize size = set->original(i).size();
                EXPECT_EQ(sharp.devicePixelRatio(), variant) << i;
                EXPECT_EQ(sharp.size(), size * variant) << i;
                EXPECT_EQ(sharp.deviceIndependentSize().toSize(), size) << i;
                EXPECT_EQ(sharp.hasAlphaChannel(), set->original(i).hasAlphaChannel()) << i;
                EXPECT_EQ(QImageReader(set->source(i, ratio)).read().convertToFormat(kArgb),
                          sharp.toImage().convertToFormat(kArgb))
                    << i;
            }
    }
}

// The icon's two pictures, 256 colours and 32 bits with alpha, are told apart where they are
// made, by assets/generate.sh, with how every other picture is stored.
TEST(Icon, HoldsTwo32By32Pictures) {
    QImageReader reader(QStringLiteral(":/images/icon.ico"));
    EXPECT_EQ(reader.imageCount(), 2);
    EXPECT_EQ(reader.read().size(), QSize(32, 32));
}

} // namespace
} // namespace tavlo::testing
