// SPDX-License-Identifier: GPL-3.0-or-later
// What the program sets going before its toolkit starts.
#pragma once

#include <thread>

namespace tavlo::ui {

// Call first thing in main. Makes memory that the window's pictures and board take and give back
// go back to the system, and starts loading the system's font configuration on a thread of its
// own: the toolkit would load it on the GUI thread the first time the window measures text,
// while now it loads as the toolkit starts. Returns that thread: join it once the QApplication
// is built and before the window is, so the toolkit finds the configuration loaded instead of
// loading a second copy beside it.
std::jthread startBeforeToolkit();

} // namespace tavlo::ui
