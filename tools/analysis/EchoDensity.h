// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

namespace nadrix
{
// The normalised echo density of an impulse response (Abel and Huang): in a
// 20 ms window around each point, the share of samples further from zero
// than the window's standard deviation, over the share a Gaussian noise has
// (0.3173). Near 0 for a few separate echoes, 1 once the echoes have become
// noise.
namespace EchoDensity
{
    constexpr double windowSeconds = 0.020;

    // The profile at every `stepSeconds` from the start.
    std::vector<double> profile (const std::vector<double>& signal, double sampleRate, double stepSeconds);
}
} // namespace nadrix
