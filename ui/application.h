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

// Call with what the event loop returned, once the window has closed: ends the program there with
// that status, leaving the toolkit standing. Returns (the same status) only when the toolkit still
// has something to hand over as it shuts down; then return it from main.
int endAfterEventLoop(int status);

} // namespace tavlo::ui
