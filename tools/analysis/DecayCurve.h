// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <vector>

namespace nadrix
{
// Schroeder's backward integration of an impulse response's energy, and the
// decay times read from it by straight-line fits, as room acousticians
// compute them (ISO 3382).
namespace DecayCurve
{
    // The energy decay curve in dB (0 dB at the start): the energy still to
    // come after each sample, over the whole energy.
    std::vector<double> schroederDb (const std::vector<double>& energy);

    // A least-squares line through the curve between `fromDb` and `toDb`
    // (both below 0): the slope in dB per second and the time it crosses
    // `fromDb`. None when the curve does not fall as far as `toDb`.
    struct Fit
    {
        double dbPerSecond;
        double startSeconds;
        double interceptDb;   // the line's level at time 0
        double nonlinearityPermille; // 1000 (1 - r^2) of the fit: how far the curve strays from a line
    };
    std::optional<Fit> fit (const std::vector<double>& curveDb, double sampleRate, double fromDb, double toDb);

    // The time to fall 60 dB at the fitted slope.
    inline double decayTime (const Fit& f) { return -60.0 / f.dbPerSecond; }
}
} // namespace nadrix
