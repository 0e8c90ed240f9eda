// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>

#include <algorithm>

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

void PlainLabel::setTransparent(bool transparent) {
    setAutoFillBackground(!transparent);
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

Overflow::Overflow(QWidget* window, QSize least, QSize content)
    : QObject(window), window_(window), least_(least), content_(content),
      across_(new QScrollBar(Qt::Horizontal, window)), down_(new QScrollBar(Qt::Vertical, window)) {
    for (QScrollBar* bar : {across_, down_}) {
        bar->hide();
        bar->setFocusPolicy(Qt::NoFocus);
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            scrollTo({across_->value(), down_->value()});
        });
    }
    window->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { reveal(now); });
}

bool Overflow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize)
        fit();
    else if (event->type() == QEvent::Wheel && down_->isVisible())
        QCoreApplication::sendEvent(down_, event);
    return QObject::eventFilter(watched, event);
}

void Overflow::fit() {
    const int thickness = window_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    // A bar along one edge takes room from the other direction too.
    bool wide = window_->width() < least_.width();
    bool tall = window_->height() < least_.height();
    tall = tall || (wide && window_->height() - thickness < least_.height());
    wide = wide || (tall && window_->width() - thickness < least_.width());
    const QSize seen(window_->width() - (tall ? thickness : 0),
                     window_->height() - (wide ? thickness : 0));
    across_->setVisible(wide);
    down_->setVisible(tall);
    across_->setGeometry(0, seen.height(), seen.width(), thickness);
    down_->setGeometry(seen.width(), 0, thickness, seen.height());
    across_->setRange(0, wide ? std::max(0, content_.width() - seen.width()) : 0);
    down_->setRange(0, tall ? std::max(0, content_.height() - seen.height()) : 0);
    across_->setPageStep(seen.width());
    down_->setPageStep(seen.height());
    for (QScrollBar* bar : {across_, down_})
        bar->raise();
    scrollTo({across_->value(), down_->value()});
}

void Overflow::scrollTo(QPoint offset) {
    const QPoint by = offset_ - offset;
    if (by.isNull())
        return;
    offset_ = offset;
    window_->scroll(by.x(), by.y());
    // The bars stay where they are.
    for (QScrollBar* bar : {across_, down_})
        bar->move(bar->pos() - by);
}

void Overflow::reveal(QWidget* focused) {
    if (!focused || (!across_->isVisible() && !down_->isVisible()) ||
        !window_->isAncestorOf(focused))
        return;
    const QRect seen(QPoint(0, 0), QSize(down_->isVisible() ? down_->x() : window_->width(),
                                         across_->isVisible() ? across_->y() : window_->height()));
    const QRect at(focused->mapTo(window_, QPoint(0, 0)), focused->size());
    QPoint by;
    if (at.right() > seen.right())
        by.rx() = at.right() - seen.right();
    if (at.left() - by.x() < 0)
        by.rx() = at.left();
    if (at.bottom() > seen.bottom())
        by.ry() = at.bottom() - seen.bottom();
    if (at.top() - by.y() < 0)
        by.ry() = at.top();
    across_->setValue(across_->value() + by.x());
    down_->setValue(down_->value() + by.y());
}

} // namespace tavlo::ui
