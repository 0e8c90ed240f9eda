// SPDX-License-Identifier: GPL-3.0-or-later
// What a running process has cost so far, read from /proc: CPU time and context switches.
#pragma once

#include <sys/types.h>

#include <cstdint>

namespace tavlo::bench {

struct ProcCost {
    // utime + stime of the whole process from /proc/<pid>/stat, in clock ticks.
    std::int64_t cpuTicks = 0;
    // Time on a CPU summed over the live threads from their schedstat, in nanoseconds: the
    // clock-tick figure cannot tell 0 from 9 ms, which is all an idle window costs.
    std::int64_t cpuNs = 0;
    // Context switches summed over the live threads. A voluntary one is a thread going back
    // to sleep, so each counts one wake-up.
    std::int64_t voluntarySwitches = 0;
    std::int64_t involuntarySwitches = 0;
    bool valid = false;
};

// The threads' figures leave out thread `skip` (0: none), so a thread of the process itself can
// take the readings without counting its own cost.
ProcCost readProcCost(pid_t pid, pid_t skip = 0);

// Clock ticks (as in /proc/<pid>/stat) in milliseconds.
double ticksToMs(std::int64_t ticks);

// The parent of `pid`, or 0 when it cannot be read.
pid_t parentOf(pid_t pid);

} // namespace tavlo::bench
