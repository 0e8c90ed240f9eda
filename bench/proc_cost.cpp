// SPDX-License-Identifier: GPL-3.0-or-later
#include "proc_cost.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace tavlo::bench {

namespace {

// The fields of a stat line after the command name, which may itself hold blanks and
// parentheses; field 3 of proc(5) is the first one returned.
std::istringstream statFieldsAfterName(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    const auto close = line.rfind(')');
    return std::istringstream(close == std::string::npos ? std::string{} : line.substr(close + 1));
}

} // namespace

pid_t parentOf(pid_t pid) {
    auto fields = statFieldsAfterName("/proc/" + std::to_string(pid) + "/stat");
    std::string state;
    long parent = 0;
    fields >> state >> parent;
    return fields ? static_cast<pid_t>(parent) : 0;
}

ProcCost readProcCost(pid_t pid, pid_t skip) {
    namespace fs = std::filesystem;
    ProcCost cost;
    const fs::path dir = "/proc/" + std::to_string(pid);

    auto fields = statFieldsAfterName(dir / "stat");
    std::string unused;
    // Fields 3..13, then utime (14) and stime (15).
    for (int field = 3; field <= 13 && fields; ++field)
        fields >> unused;
    std::int64_t utime = 0;
    std::int64_t stime = 0;
    fields >> utime >> stime;
    if (!fields)
        return cost;
    cost.cpuTicks = utime + stime;

    std::error_code error;
    const std::string skipped = std::to_string(skip);
    for (const auto& task : fs::directory_iterator(dir / "task", error)) {
        if (task.path().filename() == skipped)
            continue;
        std::ifstream schedstat(task.path() / "schedstat");
        std::int64_t runNs = 0;
        if (schedstat >> runNs)
            cost.cpuNs += runNs;
        std::ifstream status(task.path() / "status");
        std::string key;
        std::int64_t value = 0;
        while (status >> key) {
            if (key == "voluntary_ctxt_switches:" && status >> value)
                cost.voluntarySwitches += value;
            else if (key == "nonvoluntary_ctxt_switches:" && status >> value)
                cost.involuntarySwitches += value;
        }
    }
    cost.valid = !error;
    return cost;
}

double ticksToMs(std::int64_t ticks) {
    return 1000.0 * static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

} // namespace tavlo::bench
