// SPDX-License-Identifier: GPL-3.0-or-later
// What the window tells assistive technology beyond what Qt's own widgets say: controls that play
// another role than their kind suggests, images that are only there while named, and the game's
// news.
#pragma once

#include <QAccessible>
#include <QWidget>

#include <functional>

namespace tavlo::ui {

// How the Qt this program was built with and the Qt it runs on let a screen reader hear the
// game's news (a package built on one Debian release also runs on the next).
struct ScreenReaderChannels {
    // Qt's announcement event, which a screen reader speaks as it is (Orca 45 and later). It
    // needs Qt 6.8 both to build with and to run on. Otherwise the news go by a notification
    // that appears, which every screen reader speaks.
    bool announcementEvent = false;
    // A change of a control's description reaches a screen reader with the new text (Qt 6.5
    // and later), which speaks it when the control has the focus (Orca 48).
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

// Tells a screen reader's user the game's news, each piece once and by one way only:
//   - said now by Qt's announcement event or, without it, by a notification, which nobody sees
//     (one pixel, painting nothing, never taking the focus) and which a screen reader speaks
//     each time it appears, with its name;
//   - and kept as the die's description, which a screen reader reads with the die when it takes
//     the focus or when asked where the player is; but not where a screen reader would speak
//     the description's change by itself, or each piece would be heard twice.
class NewsTeller {
public:
    NewsTeller(QWidget* window, QWidget* die, ScreenReaderChannels channels);
    void tell(const QString& news, bool sayNow);
    // Runs `newGame`, which tells its news, and gives the die the keyboard focus if it ran. Where
    // the die is then read out with its description, which is that news, nothing is said besides.
    void handFocusToDieAfter(const std::function<bool()>& newGame);

private:
    QWidget* die_;
    QWidget* notification_;
    ScreenReaderChannels channels_;
    bool focusMoveTellsNews_ = false;
};

} // namespace tavlo::ui
