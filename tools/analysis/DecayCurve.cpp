// SPDX-License-Identifier: GPL-3.0-or-later
#include "DecayCurve.h"

#include <cmath>

std::vector<double> DecayCurve::schroederDb (const std::vector<double>& energy)
{
    std::vector<double> remaining (energy.size());
    double sum = 0.0;
    for (size_t i = energy.size(); i-- > 0;)
        remaining[i] = (sum += energy[i]);

    const double total = sum > 0.0 ? sum : 1.0;
    for (auto& r : remaining)
        r = r > 0.0 ? 10.0 * std::log10 (r / total) : -400.0;
    return remaining;
}

std::optional<DecayCurve::Fit> DecayCurve::fit (const std::vector<double>& curveDb, double sampleRate, double fromDb, double toDb)
{
    size_t first = 0;
    while (first < curveDb.size() && curveDb[first] > fromDb)
        ++first;
    size_t last = first;
    while (last < curveDb.size() && curveDb[last] > toDb)
        ++last;
    if (last >= curveDb.size() || last - first < 2)
        return std::nullopt;

    // Least squares of level against time over [first, last).
    double n = 0.0, st = 0.0, sy = 0.0, stt = 0.0, sty = 0.0;
    for (size_t i = first; i < last; ++i)
    {
        const double t = (double) i / sampleRate, y = curveDb[i];
        n += 1.0, st += t, sy += y, stt += t * t, sty += t * y;
    }
    const double slope = (n * sty - st * sy) / (n * stt - st * st);
    if (! (slope < 0.0))
        return std::nullopt;
    return Fit { slope, (double) first / sampleRate, (sy - slope * st) / n };
}
