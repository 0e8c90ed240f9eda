// SPDX-License-Identifier: GPL-3.0-or-later
// What the window tells assistive technology beyond what Qt's own widgets say: controls that play
// another role than their kind suggests, and spoken announcements.
#pragma once

#include <QAccessible>
#include <QWidget>

namespace tavlo::ui {

// From now on, `widget` presents itself to assistive technology in `role`, named by its
// accessible name, with no actions of its own kind. Qt asks for a control's interface only once,
// and while a screen reader listens it asks as soon as anything about the control changes (a
// button's text, say): so this must come right after the widget is made.
void setAccessibleRole(QWidget* widget, QAccessible::Role role);

// Says a sentence to a screen reader, once. Screen readers speak a notification each time it
// appears, with its name, whereas a change of a control's description reaches them (with Qt 6.4)
// without the new text and goes unspoken. So the announcer is a notification that nobody sees:
// one pixel, painting nothing, never taking the focus.
class Announcer : public QWidget {
public:
    explicit Announcer(QWidget* parent);
    void announce(const QString& text);
};

} // namespace tavlo::ui
