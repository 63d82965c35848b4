// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

namespace nadrix
{
// What the cost benchmarks read of this process: its resident memory, its
// page faults, wall time, and a figure formatted for a table cell.
namespace SessionMeasures
{
    using Clock = std::chrono::steady_clock;

    inline double residentMegabytes()
    {
        std::ifstream statm ("/proc/self/statm");
        long total = 0, resident = 0;
        statm >> total >> resident;
        return (double) resident * (double) sysconf (_SC_PAGESIZE) / 1.0e6;
    }

    inline long pageFaults (int who = RUSAGE_SELF)
    {
        rusage usage {};
        getrusage (who, &usage);
        return usage.ru_minflt + usage.ru_majflt;
    }

    inline double millisecondsSince (Clock::time_point start)
    {
        return std::chrono::duration<double, std::milli> (Clock::now() - start).count();
    }

    inline std::string format (const char* pattern, double a, double b = 0.0)
    {
        char text[96];
        std::snprintf (text, sizeof text, pattern, a, b);
        return text;
    }
}
} // namespace nadrix
