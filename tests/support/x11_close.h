// SPDX-License-Identifier: GPL-3.0-or-later
// Asks an X11 window to close the way a desktop's close button does: by sending it the
// WM_DELETE_WINDOW message, which Qt turns into the window's close event.
#pragma once

#include <X11/Xlib.h>

namespace tavlo::testing {

inline bool askToClose(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    return sent != 0;
}

} // namespace tavlo::testing
