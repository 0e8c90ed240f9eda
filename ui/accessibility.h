// SPDX-License-Identifier: GPL-3.0-or-later
// What the window tells assistive technology beyond what Qt's own widgets say: controls that play
// another role than their kind suggests, images that are only there while named, and spoken
// announcements.
#pragma once

#include <QAccessible>
#include <QWidget>

namespace tavlo::ui {

// How a screen reader hears the game's news with the Qt this program was built with and the Qt
// it runs on (a package built on one Debian release also runs on the next). Each sentence must
// reach it by one way only, or it is said twice.
struct ScreenReaderChannels {
    // Qt's announcement event, which a screen reader speaks as it is (Orca 45 and later). It
    // needs Qt 6.8 both to build with and to run on. Otherwise the announcer is a notification
    // that appears, which every screen reader speaks.
    bool announcementEvent = false;
    // A change of a control's description reaches a screen reader with the new text (Qt 6.5
    // and later), which speaks it when the control has the focus (Orca 48): the news in the
    // die's description would then be heard twice.
    bool descriptionChangeIsSpoken = false;

    // Decided once, from the Qt built with and the Qt the program runs on.
    static ScreenReaderChannels ofThisRun();
};

// From now on, `widget` presents itself to assistive technology in `role`, named by its
// accessible name, with no actions of its own kind. Qt asks for a control's interface only once,
// and while a screen reader listens it asks as soon as anything about the control changes (a
// button's text, say): so this, like `presentOnlyWhileNamed`, must come right after the widget
// is made.
void setAccessibleRole(QWidget* widget, QAccessible::Role role);

// From now on, `image` is a graphic to assistive technology only while its accessible name is
// not empty; unnamed, a screen reader does not meet it. Rename it with `setAccessibleNameOf`.
void presentOnlyWhileNamed(QWidget* image);
void setAccessibleNameOf(QWidget* widget, const QString& name);

// Says a sentence to a screen reader, once, by the channel given. As a notification, nobody sees
// it: one pixel, painting nothing, never taking the focus; screen readers speak a notification
// each time it appears, with its name.
class Announcer : public QWidget {
public:
    Announcer(QWidget* parent, bool announcementEvent);
    void announce(const QString& text);

private:
    bool announcementEvent_;
};

} // namespace tavlo::ui
