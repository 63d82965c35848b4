// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/analysis/DecayCurve.h"

#include <cmath>

namespace nadrix
{
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
    double n = 0.0, st = 0.0, sy = 0.0, stt = 0.0, sty = 0.0, syy = 0.0;
    for (size_t i = first; i < last; ++i)
    {
        const double t = (double) i / sampleRate, y = curveDb[i];
        n += 1.0, st += t, sy += y, stt += t * t, sty += t * y, syy += y * y;
    }
    const double spreadT = n * stt - st * st, spreadY = n * syy - sy * sy, together = n * sty - st * sy;
    const double slope = together / spreadT;
    if (! (slope < 0.0))
        return std::nullopt;
    // How far the curve strays from the line: 1000 (1 - r^2), in per mille.
    const double r2 = spreadY > 0.0 ? together * together / (spreadT * spreadY) : 1.0;
    return Fit { slope, (double) first / sampleRate, (sy - slope * st) / n, 1000.0 * (1.0 - r2) };
}
} // namespace nadrix
