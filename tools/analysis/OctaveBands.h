// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <vector>

namespace nadrix
{
// The octave bands of room acoustics, 125 Hz to 8 kHz: each band the part of
// a signal between fc / sqrt 2 and fc * sqrt 2, cut by sixth-order
// Butterworth high- and low-passes at those edges.
namespace OctaveBands
{
    constexpr std::array<double, 7> centres { 125.0, 250.0, 500.0, 1000.0, 2000.0, 4000.0, 8000.0 };

    // The signal's part in the octave around `centre` (the band must lie
    // below half the sample rate).
    std::vector<double> filtered (const std::vector<double>& signal, double sampleRate, double centre);
}
} // namespace nadrix
