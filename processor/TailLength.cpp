// SPDX-License-Identifier: GPL-3.0-or-later
#include "processor/TailLength.h"

#include <algorithm>
#include <cmath>

namespace nadrix
{
namespace
{
    constexpr double maximumTail = 60.0;
    constexpr double fallenBy100Db = 1.0e-5;

    double lineTail (const NadrixViewdata& line)
    {
        const double feedback = std::abs ((double) line.feedback.load (std::memory_order_relaxed));
        const double predelay = line.predelay.load (std::memory_order_relaxed);
        const double delayTime = line.delayTime.load (std::memory_order_relaxed);

        if (! (feedback < 1.0)) // rings for ever (or is not a number)
            return maximumTail;

        // Passes through the comb until the level is down by 100 dB.
        const double passes = feedback > 0.0 ? std::ceil (std::log (fallenBy100Db) / std::log (feedback)) : 0.0;
        return predelay + delayTime * (1.0 + passes);
    }
}

double reverbTailSeconds (const NadrixViewdata* lines, int numLines)
{
    double longest = 0.0;

    for (int j = 0; j < numLines; ++j)
        if (lines[j].active.load (std::memory_order_relaxed) >= 0.5f)
            longest = std::max (longest, lineTail (lines[j]));

    return std::min (longest, maximumTail);
}
} // namespace nadrix
