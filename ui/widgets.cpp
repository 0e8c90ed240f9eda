// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>

namespace tavlo::ui {

void setBackColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::Button, colour);
    widget->setPalette(palette);
}

void setTextColour(QWidget* widget, const QColor& colour) {
    if (auto* label = dynamic_cast<PlainLabel*>(widget)) {
        label->setTextColour(colour);
        return;
    }
    QPalette palette = widget->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText})
            palette.setColor(group, role, colour);
    widget->setPalette(palette);
}

namespace {

void paintFocusRing(QPainter& painter, const QRect& area) {
    const int inset = kFocusWidth / 2;
    painter.setPen(QPen(kFocusColour, kFocusWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(inset, inset, -inset - 1, -inset - 1));
}

} // namespace

QString literalToolTip(const QString& text) {
    if (text.isEmpty())
        return {};
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

PlainLabel::PlainLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setAutoFillBackground(true);
}

void PlainLabel::setTextColour(const QColor& colour) {
    colour_ = colour;
    update();
}

QColor PlainLabel::textColour() const {
    return colour_.value_or(palette().color(QPalette::WindowText));
}

void PlainLabel::paintEvent(QPaintEvent*) {
    if (layout_.text() != text() || layoutFont_ != font()) {
        layout_.setTextFormat(Qt::PlainText);
        layout_.setText(text());
        // Measured in the label's own font: unprepared, the layout would be measured in the
        // application's, which the desktop chooses, and the centred labels would shift with it.
        layout_.prepare(QTransform(), font());
        layoutFont_ = font();
    }
    const QRect area = contentsRect();
    QPoint at = area.topLeft();
    if (alignment() & Qt::AlignHCenter)
        at.rx() += (area.width() - qRound(layout_.size().width())) / 2;
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(textColour());
    painter.drawStaticText(at, layout_);
}

ImageControl::ImageControl(QWidget* parent, bool stretch) : QLabel(parent), stretch_(stretch) {
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setScaledContents(stretch);
}

void ImageControl::setPicture(const QPixmap& picture) {
    setPixmap(picture);
    if (!stretch_ && !picture.isNull())
        resize(picture.deviceIndependentSize().toSize());
}

PictureBox::PictureBox(QWidget* parent) : QAbstractButton(parent) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    setFocusPolicy(Qt::StrongFocus);
}

void PictureBox::setPixmap(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
    if (hasFocus())
        paintFocusRing(painter, rect());
}

void PictureBox::keyPressEvent(QKeyEvent* event) {
    // Space is the button's own key; Enter, on the main keys or the keypad, rolls too, as
    // players expect of the one thing that starts a turn. Held keys do not roll again and again.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (!event->isAutoRepeat())
            click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

PictureBoard::PictureBoard(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBoard::setPainting(std::future<QImage> painting) {
    pending_ = std::move(painting);
    update();
}

const QImage& PictureBoard::canvas() {
    if (pending_.valid())
        canvas_ = pending_.get();
    return canvas_;
}

void PictureBoard::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // Only the uncovered part: a token's step repaints two small squares, not the board.
    const QRect area = event->rect();
    const QImage& canvas = this->canvas();
    const qreal ratio = canvas.devicePixelRatio();
    painter.drawImage(
        area, canvas,
        QRectF(area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio));
    if (hasFocus())
        paintFocusRing(painter, rect());
}

} // namespace tavlo::ui
