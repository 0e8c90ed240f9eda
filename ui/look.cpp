// SPDX-License-Identifier: GPL-3.0-or-later
#include "look.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QStyleFactory>

namespace tavlo::ui {

namespace {

// The light colours the window was drawn with, for every role that it leaves to the style: while
// enabled, and while disabled. The window sets its own colour for most controls, but the rest
// (text, the text boxes, the options' circles, the grey of a locked control) would otherwise come
// from the desktop, and a dark desktop style would pair its light text with the white board and
// the grey button faces. Every role is set, so no control takes one from the desktop's palette
// for its kind.
QPalette designPalette() {
    struct Colours {
        QPalette::ColorRole role;
        QRgb normal;
        QRgb disabled;
    };
    static constexpr Colours kLight[] = {
        {QPalette::WindowText, 0xff000000, 0xffbebebe},
        {QPalette::Button, 0xffefefef, 0xffefefef},
        {QPalette::Light, 0xffffffff, 0xffffffff},
        {QPalette::Midlight, 0xffcacaca, 0xffcacaca},
        {QPalette::Dark, 0xff9f9f9f, 0xffbebebe},
        {QPalette::Mid, 0xffb8b8b8, 0xffb8b8b8},
        {QPalette::Text, 0xff000000, 0xffbebebe},
        {QPalette::BrightText, 0xffffffff, 0xffffffff},
        {QPalette::ButtonText, 0xff000000, 0xffbebebe},
        {QPalette::Base, 0xffffffff, 0xffefefef},
        {QPalette::Window, 0xffefefef, 0xffefefef},
        {QPalette::Shadow, 0xff767676, 0xffb1b1b1},
        {QPalette::Highlight, 0xff308cc6, 0xff919191},
        {QPalette::HighlightedText, 0xffffffff, 0xffffffff},
        {QPalette::Link, 0xff0000ff, 0xff0000ff},
        {QPalette::LinkVisited, 0xffff00ff, 0xffff00ff},
        {QPalette::AlternateBase, 0xfff7f7f7, 0xfff7f7f7},
        {QPalette::NoRole, 0xff000000, 0xff000000},
        {QPalette::ToolTipBase, 0xffffffdc, 0xffffffdc},
        {QPalette::ToolTipText, 0xff000000, 0xff000000},
        {QPalette::PlaceholderText, 0x80000000, 0x80000000},
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
        {QPalette::Accent, 0xff308cc6, 0xff919191},
#endif
    };
    QPalette palette;
    for (const Colours& c : kLight) {
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
            palette.setColor(group, c.role, QColor::fromRgba(c.normal));
        palette.setColor(QPalette::Disabled, c.role, QColor::fromRgba(c.disabled));
    }
    return palette;
}

} // namespace

void applyLook(QApplication& application) {
    application.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // Set on the application, not only on each window: the desktop's style hands every kind of
    // widget a palette of its own, which wins over any role a window leaves unset.
    application.setPalette(designPalette());
    // A text box lays out its text in the application's font before it takes the one set for
    // it: with the window's own font here, the desktop's is never loaded.
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(8.25);
    application.setFont(arial);
}

} // namespace tavlo::ui
