// SPDX-License-Identifier: GPL-3.0-or-later
// Starts a program and watches the X screen until its window's first complete frame shows:
// the moment every given pixel of the window has its expected colour. Optionally it then
// measures what the program costs while it sits idle, and finally closes the window the way a
// desktop's close button does. The clock starts just before the program is started, so the
// figure covers loading, set-up, painting and the trip to the X server.
//
// Usage: bench_frame_probe --size WxH --pixel X,Y=RRGGBB [--pixel ...] [--timeout S]
//            [--focus] [--settle S] [--idle S] [--hold S] -- PROGRAM [ARGUMENTS...]
// --focus gives the window the keyboard focus once it shows, as a desktop does with a window
// it has just opened (there is no window manager on a bare X server to do it).
// The program may be a wrapper such as /usr/bin/time: the window may belong to any process
// started from it. Results go to standard output as key=value lines.
#include "support/x11_close.h"

#include "proc_cost.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
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

struct Options {
    int width = 0;
    int height = 0;
    std::vector<ExpectedPixel> pixels;
    double timeout = 30;
    double settle = 0;
    double idle = 0;
    double hold = 0;
    bool focus = false;
    std::vector<char*> command;
};

[[noreturn]] void usage(const char* why) {
    std::fprintf(stderr,
                 "bench_frame_probe: %s\nusage: bench_frame_probe --size WxH --pixel X,Y=RRGGBB "
                 "[--pixel ...] [--timeout S] [--focus] [--settle S] [--idle S] [--hold S] -- "
                 "PROGRAM "
                 "[ARGUMENTS...]\n",
                 why);
    std::exit(2);
}

Options parse(int argc, char* argv[]) {
    Options o;
    int i = 1;
    auto value = [&](const char* name) -> const char* {
        if (i + 1 >= argc)
            usage((std::string(name) + " needs a value").c_str());
        return argv[++i];
    };
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--") {
            ++i;
            break;
        }
        if (arg == "--size") {
            if (std::sscanf(value("--size"), "%dx%d", &o.width, &o.height) != 2)
                usage("--size wants WxH");
        } else if (arg == "--pixel") {
            ExpectedPixel p;
            if (std::sscanf(value("--pixel"), "%d,%d=%lx", &p.x, &p.y, &p.rgb) != 3)
                usage("--pixel wants X,Y=RRGGBB");
            o.pixels.push_back(p);
        } else if (arg == "--timeout") {
            o.timeout = std::atof(value("--timeout"));
        } else if (arg == "--settle") {
            o.settle = std::atof(value("--settle"));
        } else if (arg == "--idle") {
            o.idle = std::atof(value("--idle"));
        } else if (arg == "--focus") {
            o.focus = true;
        } else if (arg == "--hold") {
            o.hold = std::atof(value("--hold"));
        } else {
            usage(("unknown option " + arg).c_str());
        }
    }
    for (; i < argc; ++i)
        o.command.push_back(argv[i]);
    o.command.push_back(nullptr);
    if (o.command.size() < 2)
        usage("no program given");
    if (o.width <= 0 || o.height <= 0 || o.pixels.empty())
        usage("--size and at least one --pixel are needed");
    return o;
}

// A window may vanish or be unmapped between two requests; that only means "not yet".
int ignoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

bool startedFrom(pid_t pid, pid_t ancestor) {
    for (int depth = 0; pid > 1 && depth < 16; ++depth) {
        if (pid == ancestor)
            return true;
        pid = tavlo::bench::parentOf(pid);
    }
    return false;
}

std::optional<pid_t> windowPid(Display* display, Window window, Atom netWmPid) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::optional<pid_t> pid;
    if (XGetWindowProperty(display, window, netWmPid, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        data && format == 32 && count == 1)
        pid = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data));
    if (data)
        XFree(data);
    return pid;
}

// The program's mapped top-level window of the expected size, and the process it belongs to.
std::optional<std::pair<Window, pid_t>> findWindow(Display* display, const Options& o, pid_t child,
                                                   Atom netWmPid) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return std::nullopt;
    std::optional<std::pair<Window, pid_t>> found;
    for (unsigned int k = 0; k < count && !found; ++k) {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display, children[k], &attributes) ||
            attributes.map_state != IsViewable || attributes.width != o.width ||
            attributes.height != o.height)
            continue;
        const auto pid = windowPid(display, children[k], netWmPid);
        if (pid && startedFrom(*pid, child))
            found = std::make_pair(children[k], *pid);
    }
    if (children)
        XFree(children);
    return found;
}

int shiftOf(unsigned long mask) {
    int shift = 0;
    while (mask && !(mask & 1UL)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

std::optional<unsigned long> rgbAt(Display* display, Window window, int x, int y) {
    XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return std::nullopt;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    auto channel = [&](unsigned long mask) {
        const unsigned long bits = mask >> shiftOf(mask);
        return bits ? ((pixel & mask) >> shiftOf(mask)) * 255UL / bits : 0UL;
    };
    const unsigned long rgb = channel(image->red_mask) << 16 | channel(image->green_mask) << 8 |
                              channel(image->blue_mask);
    XDestroyImage(image);
    return rgb;
}

bool frameComplete(Display* display, Window window, const Options& o) {
    for (const ExpectedPixel& p : o.pixels) {
        const auto rgb = rgbAt(display, window, p.x, p.y);
        if (!rgb || *rgb != p.rgb)
            return false;
    }
    return true;
}

void sleepSeconds(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

void closeWindow(Display* display, Window window) {
    tavlo::testing::askToClose(display, window);
}

// Waits for the child to end; ends it and whatever it started when it takes too long.
int reap(pid_t child, std::optional<pid_t> program, double limit) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(limit);
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (Clock::now() > deadline) {
            if (program)
                kill(*program, SIGKILL);
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            std::fputs("bench_frame_probe: the program did not end when asked\n", stderr);
            return -1;
        }
        std::this_thread::sleep_for(5ms);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

int main(int argc, char* argv[]) {
    const Options o = parse(argc, argv);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("bench_frame_probe: cannot open the display\n", stderr);
        return 1;
    }
    XSetErrorHandler(ignoreXErrors);
    const Atom netWmPid = XInternAtom(display, "_NET_WM_PID", False);
    XSync(display, False);

    const auto start = Clock::now();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("bench_frame_probe: fork");
        return 1;
    }
    if (child == 0) {
        execvp(o.command[0], o.command.data());
        std::perror("bench_frame_probe: exec");
        _exit(127);
    }

    const auto deadline = start + std::chrono::duration<double>(o.timeout);
    std::optional<std::pair<Window, pid_t>> window;
    long polls = 0;
    bool shown = false;
    while (Clock::now() < deadline) {
        ++polls;
        if (!window)
            window = findWindow(display, o, child, netWmPid);
        if (window && frameComplete(display, window->first, o)) {
            shown = true;
            break;
        }
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            std::fputs("bench_frame_probe: the program ended before its window showed\n", stderr);
            return 1;
        }
        // Polling every millisecond keeps the error small without loading the X server much.
        std::this_thread::sleep_for(1ms);
    }
    const auto frame = Clock::now();
    if (!shown) {
        std::fprintf(stderr, "bench_frame_probe: no complete frame within %.0f s (%s)\n", o.timeout,
                     window ? "the window showed other pixels" : "no window");
        reap(child, window ? std::optional(window->second) : std::nullopt, 0);
        return 1;
    }
    std::printf("frame_ms=%.3f\npolls=%ld\npid=%d\n",
                std::chrono::duration<double, std::milli>(frame - start).count(), polls,
                static_cast<int>(window->second));

    if (o.focus) {
        XSetInputFocus(display, window->first, RevertToParent, CurrentTime);
        XSync(display, False);
    }
    if (o.idle > 0) {
        sleepSeconds(o.settle);
        const auto before = tavlo::bench::readProcCost(window->second);
        const auto from = Clock::now();
        sleepSeconds(o.idle);
        const auto after = tavlo::bench::readProcCost(window->second);
        const double seconds = std::chrono::duration<double>(Clock::now() - from).count();
        if (!before.valid || !after.valid) {
            std::fputs("bench_frame_probe: cannot read the program's /proc entries\n", stderr);
            reap(child, window->second, 0);
            return 1;
        }
        std::printf("idle_seconds=%.3f\nidle_cpu_ms_stat=%.1f\nidle_cpu_ms=%.3f\n"
                    "idle_voluntary=%lld\nidle_involuntary=%lld\n",
                    seconds, tavlo::bench::ticksToMs(after.cpuTicks - before.cpuTicks),
                    static_cast<double>(after.cpuNs - before.cpuNs) / 1e6,
                    static_cast<long long>(after.voluntarySwitches - before.voluntarySwitches),
                    static_cast<long long>(after.involuntarySwitches - before.involuntarySwitches));
    }
    sleepSeconds(o.hold);

    closeWindow(display, window->first);
    const int status = reap(child, window->second, 10);
    std::printf("exit_status=%d\n", status);
    XCloseDisplay(display);
    return status == 0 ? 0 : 1;
}
