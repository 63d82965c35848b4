// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace nadrix
{
// What an impulse response says about a reverb, per octave band (125 Hz to
// 8 kHz) and broadband, from the energy of the channels it is given, summed:
//  - EDT, T20, T30: decay times from the Schroeder curve, fitted over 0 to
//    -10 dB, -5 to -25 dB and -5 to -35 dB (none when the decay does not
//    fall that far within the response, or when the curve is too far from
//    a straight line for a decay time to mean anything);
//  - C80 (dB) and D50 (%): early against late energy, the early part being
//    the first 80 or 50 ms from the first arrival;
//  - the first arrival (where the response first comes within 20 dB of its
//    peak) and its peak level;
//  - the normalised echo density over the first 100 ms after it, and the
//    time it first reaches 1 (the echoes have become noise).
struct DecayAnalysis
{
    struct Band
    {
        double centreHz;                  // 0: broadband
        std::optional<double> edt, t20, t30;
        std::optional<double> c80, d50;
        double decayRangeDb = 0.0;        // how far the Schroeder curve falls within the response
        std::vector<double> curveDb;      // the Schroeder curve, for plots
        std::optional<double> t30SlopeDbPerSecond, t30InterceptDb;
        // The decay times left out because their fit was not straight: the
        // figure's name and its non-linearity in per mille.
        std::vector<std::pair<const char*, double>> curved;
    };

    // ISO 3382-2's non-linearity, 1000 (1 - r^2) of a fit, above which a
    // decay time is not given. A diffuse decay stays well below it (at most
    // 18 on T20 and T30 in the wet responses of the factory programs that
    // ring); a handful of separate echoes ("Small Drum Booth": up to 950),
    // or a dry impulse before a plateau, lie far above.
    static constexpr double straightDecayLimit = 100.0;

    // The shortest EDT given: its first 10 dB in 2 ms.
    static constexpr double shortestEdt = 0.012;

    double sampleRate = 0.0;
    double lengthSeconds = 0.0;
    bool silent = true;                   // no sample above -120 dBFS
    double firstArrivalSeconds = 0.0;
    double firstArrivalLevelDb = 0.0;    // dBFS, the peak of the first arrival
    double echoDensityFirst100ms = 0.0;
    std::optional<double> mixingTimeSeconds;
    std::vector<Band> bands;              // 125 Hz to 8 kHz, those below half the rate
    Band broadband;

    // Reports progress as the share done (0 to 1).
    static DecayAnalysis of (const juce::AudioBuffer<float>& response, double sampleRate,
                             const std::function<void (double)>& progress = {});
};
} // namespace nadrix
