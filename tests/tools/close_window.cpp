// SPDX-License-Identifier: GPL-3.0-or-later
// Closes an X11 window as a desktop's close button would. Usage: close_window <window id>
#include "support/x11_close.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("usage: close_window <window id>\n", stderr);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("close_window: cannot open the display\n", stderr);
        return 1;
    }
    const auto window = static_cast<Window>(std::strtoul(argv[1], nullptr, 0));
    const bool sent = tavlo::testing::askToClose(display, window);
    XCloseDisplay(display);
    return sent ? 0 : 1;
}
