// SPDX-License-Identifier: GPL-3.0-or-later
#include "processor/TailLength.h"

#include "engine/LineActivity.h"
#include "engine/ParameterLayout.h"

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
        const double feedback = std::abs ((double) line.feedback);
        const double predelay = line.predelay;
        const double delayTime = line.delayTime;

        if (! (feedback < 1.0)) // rings for ever (or is not a number)
            return maximumTail;

        // Passes through the comb until the level is down by 100 dB.
        const double passes = feedback > 0.0 ? std::ceil (std::log (fallenBy100Db) / std::log (feedback)) : 0.0;
        return predelay + delayTime * (1.0 + passes);
    }
}

double reverbTailSeconds (const LineViews& lines)
{
    double longest = 0.0;

    for (int j = 0; j < ParameterLayout::numLines; ++j)
        if (const auto line = lines.lineView (j); LineActivity::isRunning (line.active))
            longest = std::max (longest, lineTail (line));

    return std::min (longest, maximumTail);
}
} // namespace nadrix
