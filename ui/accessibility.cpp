// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility.h"

#include <QAccessibleWidget>
#include <QLibraryInfo>
#include <QVariant>
#include <QVersionNumber>

#include <algorithm>

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
#include <QAccessibleAnnouncementEvent>
#endif

namespace tavlo::ui {

namespace {

constexpr const char* kRoleProperty = "tavloAccessibleRole";
constexpr const char* kOnlyWhileNamedProperty = "tavloOnlyWhileNamed";

// A graphic that is not there for assistive technology while it has no name.
class NamedImage : public QAccessibleWidget {
public:
    explicit NamedImage(QWidget* image) : QAccessibleWidget(image, QAccessible::Graphic) {}
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        if (widget()->accessibleName().isEmpty())
            state.invisible = true;
        return state;
    }
};

// A heading whose text is its name: screen readers read a heading's text (Orca 48 reads
// nothing else), and a title bar drawn as a button has none of its own to offer.
class Heading : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit Heading(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Heading) {}
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text kind) const override { return QAccessibleWidget::text(kind); }
    QString text(int start, int end) const override {
        return content().mid(start, std::max(0, end - start));
    }
    int characterCount() const override { return static_cast<int>(content().size()); }
    // Nothing in it can be selected, nor does it have a cursor or places of its own.
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }

private:
    QString content() const { return QAccessibleWidget::text(QAccessible::Name); }
};

QAccessibleInterface* interfaceOf(const QString&, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (const QVariant role = object->property(kRoleProperty); role.isValid()) {
        if (role.toInt() == QAccessible::Heading)
            return new Heading(widget);
        return new QAccessibleWidget(widget, static_cast<QAccessible::Role>(role.toInt()));
    }
    if (object->property(kOnlyWhileNamedProperty).isValid())
        return new NamedImage(widget);
    return nullptr;
}

} // namespace

ScreenReaderChannels ScreenReaderChannels::ofThisRun() {
    const QVersionNumber running = QLibraryInfo::version();
    ScreenReaderChannels channels;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    channels.announcementEvent = running >= QVersionNumber(6, 8);
#endif
    channels.descriptionChangeIsSpoken = running >= QVersionNumber(6, 5);
    return channels;
}

void setAccessibleRole(QWidget* widget, QAccessible::Role role) {
    // Qt installs a factory once, however often it is asked to.
    QAccessible::installFactory(interfaceOf);
    widget->setProperty(kRoleProperty, static_cast<int>(role));
}

void presentOnlyWhileNamed(QWidget* image) {
    QAccessible::installFactory(interfaceOf);
    image->setProperty(kOnlyWhileNamedProperty, true);
}

void setAccessibleNameOf(QWidget* widget, const QString& name) {
    // Qt tells a listening screen reader of every change, even to the same text.
    if (widget->accessibleName() == name)
        return;
    const bool wasThere = !widget->accessibleName().isEmpty();
    widget->setAccessibleName(name);
    if (widget->property(kOnlyWhileNamedProperty).isValid() && wasThere == name.isEmpty()) {
        QAccessible::State changed;
        changed.invisible = true;
        QAccessibleStateChangeEvent event(widget, changed);
        QAccessible::updateAccessibility(&event);
    }
}

NewsTeller::NewsTeller(QWidget* window, QWidget* die, ScreenReaderChannels channels)
    : die_(die), notification_(new QWidget(window)), channels_(channels) {
    setAccessibleRole(notification_, QAccessible::Notification);
    notification_->setObjectName(QStringLiteral("announcer"));
    notification_->setFocusPolicy(Qt::NoFocus);
    notification_->setAttribute(Qt::WA_TransparentForMouseEvents);
    notification_->setGeometry(0, 0, 1, 1);
    notification_->hide();
}

void NewsTeller::tell(const QString& news, bool sayNow) {
    if (!channels_.descriptionChangeIsSpoken && die_->accessibleDescription() != news)
        die_->setAccessibleDescription(news);
    if (!sayNow || focusMoveTellsNews_)
        return;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    if (channels_.announcementEvent) {
        QAccessibleAnnouncementEvent event(die_->window(), news);
        QAccessible::updateAccessibility(&event);
        return;
    }
#endif
    // Appearing is what makes a screen reader speak; the name is what it says.
    notification_->hide();
    notification_->setAccessibleName(news);
    notification_->show();
}

void NewsTeller::handFocusToDieAfter(const std::function<bool()>& newGame) {
    focusMoveTellsNews_ =
        !channels_.descriptionChangeIsSpoken && die_->isActiveWindow() && !die_->hasFocus();
    const bool ran = newGame();
    focusMoveTellsNews_ = false;
    if (ran)
        die_->setFocus(Qt::OtherFocusReason);
}

} // namespace tavlo::ui
