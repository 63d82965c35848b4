// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/nadrix-render/WholeTailRule.h"

#include <algorithm>
#include <cmath>

namespace nadrix
{
namespace
{
    float gain (double db) { return (float) std::pow (10.0, db / 20.0); }
}

WholeTailRule::WholeTailRule (const Settings& s, double rate)
    : quietNeeded ((std::int64_t) std::ceil (s.quietSeconds * rate)),
      longest ((std::int64_t) std::ceil (s.longestSeconds * rate)),
      floor (gain (s.floorDbfs)),
      below (gain (s.quietDb))
{
}

void WholeTailRule::add (float level, bool inTail)
{
    peak = std::max (peak, level);
    quiet = inTail && level <= std::min (floor, peak * below) ? quiet + 1 : 0;
    tail += inTail ? 1 : 0;
    recent.push_back (level);
    if ((std::int64_t) recent.size() > quietNeeded)
        recent.pop_front();
}

double WholeTailRule::endBelowPeakDb() const
{
    const float end = recent.empty() ? 0.0f : *std::max_element (recent.begin(), recent.end());
    return peak > 0.0f ? 20.0 * std::log10 (std::max (end, 1.0e-30f) / peak) : 0.0;
}
} // namespace nadrix
