// SPDX-License-Identifier: GPL-3.0-or-later
// The window is laid out in twips, 15 to a logical pixel. Every edge is rounded on its own, so
// controls that touch in twips touch on screen and a width is the distance of two rounded edges.
#pragma once

#include <QPoint>
#include <QRect>

#include <cmath>

namespace tavlo::ui {

inline constexpr double kTwipsPerPixel = 15.0;

inline int pixels(int twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

inline QPoint pixels(int left, int top) {
    return {pixels(left), pixels(top)};
}

inline QRect pixels(int left, int top, int width, int height) {
    const int x = pixels(left);
    const int y = pixels(top);
    return {x, y, pixels(left + width) - x, pixels(top + height) - y};
}

} // namespace tavlo::ui
