// SPDX-License-Identifier: GPL-3.0-or-later
// Program-wide set-up around the main window, and its end.
#pragma once

class QApplication;

namespace tavlo::ui {

// While alive, a failure to open the display ends the program with status 1 instead of Qt's
// abort: after Qt's own warnings, one line for each kind of display Qt tried (Wayland, X11) says
// which display it was and what is missing. Create it before the QApplication, drop it after.
class DisplayGuard {
public:
    DisplayGuard();
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;
};

// Names the program and fixes the look the window was designed for.
void prepareApplication(QApplication& application);

// Call once the window has gone, with the toolkit still standing. In a sanitizer build it checks
// for leaks now, when all of the program's own objects are gone, and not again at exit: the
// toolkit's own teardown leaves some of its objects behind (Qt 6.8 those of its desktop
// services), which are not the program's to free.
void checkLeaksWhileToolkitStands();

// Call with what the event loop returned, once the window has gone. Where the toolkit's teardown
// can hang (Wayland), ends the program there with that status, leaving the toolkit standing;
// elsewhere returns the same status, for main to return.
int exitNowWhereTeardownCanHang(int status);

} // namespace tavlo::ui
