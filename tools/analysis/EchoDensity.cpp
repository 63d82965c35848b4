// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/analysis/EchoDensity.h"

#include <algorithm>
#include <cmath>

namespace nadrix
{
std::vector<double> EchoDensity::profile (const std::vector<double>& signal, double sampleRate, double stepSeconds)
{
    const double gaussianShare = std::erfc (1.0 / std::sqrt (2.0));
    const auto half = (long) (windowSeconds * sampleRate / 2.0);
    const auto step = std::max (1L, (long) (stepSeconds * sampleRate));
    const auto size = (long) signal.size();

    std::vector<double> result;
    for (long centre = 0; centre < size; centre += step)
    {
        const long first = std::max (0L, centre - half), end = std::min (size, centre + half + 1);
        double sum = 0.0;
        for (long i = first; i < end; ++i)
            sum += signal[(size_t) i] * signal[(size_t) i];
        const double deviation = std::sqrt (sum / (double) (end - first));

        long beyond = 0;
        for (long i = first; i < end; ++i)
            beyond += std::abs (signal[(size_t) i]) > deviation ? 1 : 0;
        result.push_back (deviation > 0.0 ? (double) beyond / (double) (end - first) / gaussianShare : 0.0);
    }
    return result;
}
} // namespace nadrix
