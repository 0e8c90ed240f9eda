// SPDX-License-Identifier: GPL-3.0-or-later
// How every program that shows the game's window starts and ends: the game itself and the
// scripted window the real-window tests drive.
#pragma once

#include <functional>

class QApplication;

namespace tavlo::app {

// Sets the process up, starts the toolkit and gives the application the window's look, then
// calls `play`, which builds the window, shows it and runs the event loop, and returns what the
// loop returned with the window gone. Then, in a sanitizer build, checks for leaks while the
// toolkit still stands: some of the toolkit's own objects outlive its teardown, and they are not
// the program's to free.
//
// Where no display can be opened, ends the program with status 1 after Qt's warnings and one
// line for each kind of display Qt tried (Wayland, X11): which display it was and what is
// missing. Returns `play`'s status, or, where the toolkit's teardown can hang (Wayland), ends the
// program with it at once.
int run(int& argc, char** argv, const std::function<int(QApplication&)>& play);

} // namespace tavlo::app
