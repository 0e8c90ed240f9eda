// SPDX-License-Identifier: GPL-3.0-or-later
// The kinds of control the main window is built from, beyond what Qt offers as it is.
#pragma once

#include <QAbstractButton>
#include <QLabel>
#include <QPixmap>
#include <QStaticText>
#include <QWidget>

#include <future>
#include <optional>

namespace tavlo::ui {

// Sets the colour a widget paints its background in, or its text. The text colour holds while
// the widget is enabled; disabled, it greys out as the style does for every control.
void setBackColour(QWidget* widget, const QColor& colour);
void setTextColour(QWidget* widget, const QColor& colour);

// The mark of the keyboard focus on the controls that draw their own: a ring that reads both on
// the navy window and on the white board.
inline constexpr QColor kFocusColour(0, 150, 255);
inline constexpr int kFocusWidth = 3; // pixels

// A tooltip that shows `text` literally: Qt would otherwise take text that looks like markup
// for rich text.
QString literalToolTip(const QString& text);

// Static text shown literally (never as markup) on one line, on an opaque background of its
// background colour unless its autoFillBackground is turned off. It keeps the text's layout
// between paints, and a new text colour repaints the text without touching the palette, so the
// winner label's ten colours a second and a token's step over the number labels cost little.
class PlainLabel : public QLabel {
public:
    explicit PlainLabel(QWidget* parent);
    void setTextColour(const QColor& colour);
    QColor textColour() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QStaticText layout_;
    QFont layoutFont_;
    std::optional<QColor> colour_;
};

// Shows a picture from an image list. With stretch the picture fills the control; without, it
// is shown at its own size at the top-left corner and the control takes the picture's size.
class ImageControl : public QLabel {
public:
    ImageControl(QWidget* parent, bool stretch);
    void setPicture(const QPixmap& picture);

private:
    bool stretch_;
};

// A panel that shows a picture at its top-left corner: the die. It is a button to the keyboard
// and to assistive technology: a click, Space, Enter or a screen reader's press action all
// raise `clicked`, and it shows a focus ring while it has the keyboard focus.
class PictureBox : public QAbstractButton {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent);
    void setPixmap(const QPixmap& picture);
    const QPixmap& pixmap() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPixmap picture_;
};

// The board: shows its painting, made elsewhere, for the window's whole life and again whenever
// it is uncovered, framed by the focus ring while it has the keyboard focus.
class PictureBoard : public QWidget {
public:
    explicit PictureBoard(QWidget* parent);

    // Shows `painting`, of the board's size at its device pixel ratio, which may still be being
    // painted elsewhere: the board waits for it only when first shown or read.
    void setPainting(std::future<QImage> painting);
    // The painting, one pixel for each of the screen's; waits for it if need be.
    const QImage& canvas();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::future<QImage> pending_;
    QImage canvas_;
};

} // namespace tavlo::ui
