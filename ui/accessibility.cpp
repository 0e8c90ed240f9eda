// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessibility.h"

#include <QAccessibleWidget>
#include <QVariant>

namespace tavlo::ui {

namespace {

constexpr const char* kRoleProperty = "tavloAccessibleRole";

QAccessibleInterface* interfaceWithRole(const QString&, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    const QVariant role = object->property(kRoleProperty);
    if (!role.isValid())
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object),
                                 static_cast<QAccessible::Role>(role.toInt()));
}

} // namespace

void setAccessibleRole(QWidget* widget, QAccessible::Role role) {
    static const bool installed = [] {
        QAccessible::installFactory(interfaceWithRole);
        return true;
    }();
    Q_UNUSED(installed);
    widget->setProperty(kRoleProperty, static_cast<int>(role));
}

Announcer::Announcer(QWidget* parent) : QWidget(parent) {
    setAccessibleRole(this, QAccessible::Notification);
    setObjectName(QStringLiteral("announcer"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 1, 1);
    hide();
}

void Announcer::announce(const QString& text) {
    // Appearing is what makes a screen reader speak; the name is what it says.
    hide();
    setAccessibleName(text);
    show();
}

} // namespace tavlo::ui
