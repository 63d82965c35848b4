// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <limits>
#include <vector>

namespace nadrix
{
// Values a broken or hostile host may write, for a parameter that runs
// from `lowest` to `highest` in the host's units: not numbers, infinities,
// huge magnitudes and a million spans beyond either end.
inline std::vector<float> hostileValues (float lowest, float highest)
{
    const float span = highest - lowest;
    return { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
             1.0e30f, -1.0e30f, lowest - 1.0e6f * span, highest + 1.0e6f * span };
}

// Nothing that is not a number and nothing above +24 dBFS.
inline bool boundedAndFinite (const float* samples, int n)
{
    for (int i = 0; i < n; ++i)
        if (! (std::abs (samples[i]) <= 15.848932f))
            return false;
    return true;
}

// A deterministic signal, loud: full scale and beyond, as careless hosts send.
inline std::vector<float> loudNoise (int frames, unsigned seed)
{
    std::vector<float> out ((size_t) frames);
    for (auto& x : out)
    {
        seed = seed * 1664525u + 1013904223u;
        x = (float) (seed >> 8) / 8388608.0f - 1.0f;
    }
    return out;
}
} // namespace nadrix
