// SPDX-License-Identifier: GPL-3.0-or-later
// Starts a program and prints first_frame_ms: when one of its top-level windows first shows each
// expected colour at (or within a few pixels of) its place, from just before the start, so it
// covers loading, set-up, painting and the trip to the X server. The window is then kept a
// quarter of a second, for what a program does just after showing itself, and closed as a
// desktop's close button does; peak_memory_mib is the program's own, as the kernel reports it.
#include "support/x11_close.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

struct ExpectedPixel {
    int x = 0;
    int y = 0;
    unsigned long rgb = 0;
};

// How far from its place an expected colour may show: a layout may move things by a pixel or two
// without changing what is on the screen.
constexpr int kReach = 6;

// Whether some pixel of the window within kReach of p has p's colour, on the 24-bit true-colour
// screen Xvfb gives.
bool shows(Display* display, Window window, const XWindowAttributes& size, const ExpectedPixel& p) {
    const int left = std::max(0, p.x - kReach);
    const int top = std::max(0, p.y - kReach);
    const int width = std::min(size.width - 1, p.x + kReach) - left + 1;
    const int height = std::min(size.height - 1, p.y + kReach) - top + 1;
    XImage* image = width > 0 && height > 0
                        ? XGetImage(display, window, left, top, width, height, AllPlanes, ZPixmap)
                        : nullptr;
    bool found = false;
    for (int y = 0; image && y < height && !found; ++y)
        for (int x = 0; x < width && !found; ++x)
            found = (XGetPixel(image, x, y) & 0xffffffUL) == p.rgb;
    if (image)
        XDestroyImage(image);
    return found;
}

bool belongsTo(Display* display, Window window, pid_t pid) {
    const Atom netWmPid = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const bool read = XGetWindowProperty(display, window, netWmPid, 0, 1, False, XA_CARDINAL, &type,
                                         &format, &count, &after, &data) == Success &&
                      data && format == 32 && count == 1;
    const bool ours = read && static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data)) == pid;
    if (data)
        XFree(data);
    return ours;
}

// The program's mapped top-level window that shows every expected colour, if there is one yet.
std::optional<Window> completeWindow(Display* display, pid_t pid,
                                     const std::vector<ExpectedPixel>& pixels) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return std::nullopt;
    std::optional<Window> found;
    for (unsigned int k = 0; k < count && !found; ++k) {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display, children[k], &attributes) ||
            attributes.map_state != IsViewable || !belongsTo(display, children[k], pid))
            continue;
        bool complete = true;
        for (const ExpectedPixel& p : pixels)
            complete = complete && shows(display, children[k], attributes, p);
        if (complete)
            found = children[k];
    }
    if (children)
        XFree(children);
    return found;
}

int fail(const char* why, pid_t child) {
    std::fprintf(stderr, "bench_frame_probe: %s\n", why);
    if (child > 0) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    return 1;
}

} // namespace

int main(int argc, char* argv[]) {
    std::vector<ExpectedPixel> pixels;
    int i = 1;
    for (ExpectedPixel p; i + 1 < argc && std::string_view(argv[i]) == "--pixel"; i += 2) {
        if (std::sscanf(argv[i + 1], "%d,%d=%lx", &p.x, &p.y, &p.rgb) != 3)
            return fail("--pixel wants X,Y=RRGGBB", 0);
        pixels.push_back(p);
    }
    if (pixels.empty() || i + 1 >= argc || std::string_view(argv[i]) != "--")
        return fail("usage: bench_frame_probe --pixel X,Y=RRGGBB [--pixel ...] -- PROGRAM ...", 0);
    // On a machine shared with other X servers, the probe's connection was seen to fail now and
    // then while the next one succeeded: it tries again, before its clock starts.
    Display* display = XOpenDisplay(nullptr);
    for (int tries = 1; !display && tries < 10; ++tries) {
        std::this_thread::sleep_for(100ms);
        display = XOpenDisplay(nullptr);
    }
    if (!display)
        return fail("cannot open the display", 0);
    // A window may vanish or be unmapped between two requests; that only means "not yet".
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });

    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[i + 1], argv + i + 1);
        std::perror("bench_frame_probe: exec");
        _exit(127);
    }
    if (child < 0)
        return fail("cannot start the program", 0);

    std::optional<Window> window;
    while (!(window = completeWindow(display, child, pixels))) {
        if (waitpid(child, nullptr, WNOHANG) == child)
            return fail("the program ended before its window showed", 0);
        if (Clock::now() - start > 30s)
            return fail("no complete frame within 30 s: are the --pixel places right?", child);
        // Polling every millisecond keeps the error small without loading the X server much.
        std::this_thread::sleep_for(1ms);
    }
    const std::chrono::duration<double, std::milli> frame = Clock::now() - start;

    std::this_thread::sleep_for(250ms);
    tavlo::testing::askToClose(display, *window);
    int status = 0;
    rusage usage{};
    for (const auto asked = Clock::now(); wait4(child, &status, WNOHANG, &usage) == 0;) {
        if (Clock::now() - asked > 10s)
            return fail("the program did not end when asked", child);
        std::this_thread::sleep_for(5ms);
    }
    XCloseDisplay(display);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return fail("the program did not end cleanly", 0);
    std::printf("first_frame_ms=%.1f\npeak_memory_mib=%.1f\n", frame.count(),
                static_cast<double>(usage.ru_maxrss) / 1024);
    return 0;
}
