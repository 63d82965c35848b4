// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/hosting/SteppedClock.h"

#include <atomic>
#include <ctime>
#include <sys/syscall.h>
#include <unistd.h>

namespace nadrix
{
namespace
{
    std::atomic<long long> steppedNanoseconds { 0 };
    constexpr long long nanosecondsPerSecond = 1000000000;
}

void stepMonotonicClock (int milliseconds)
{
    steppedNanoseconds.fetch_add ((long long) milliseconds * 1000000);
}

// Replaces the C library's function for the whole process. Only ever
// forward, so timers and timeouts see time pass faster, never backwards.
extern "C" int clock_gettime (clockid_t clock, timespec* now)
{
    const auto result = (int) syscall (SYS_clock_gettime, clock, now);
    if (result != 0 || (clock != CLOCK_MONOTONIC && clock != CLOCK_MONOTONIC_RAW && clock != CLOCK_BOOTTIME))
        return result;

    const long long total = (long long) now->tv_nsec + steppedNanoseconds.load();
    now->tv_sec += (time_t) (total / nanosecondsPerSecond);
    now->tv_nsec = (long) (total % nanosecondsPerSecond);
    return 0;
}
} // namespace nadrix
