// SPDX-License-Identifier: GPL-3.0-or-later
// Figures users read, on synthetic signals whose answers follow from the
// definitions: clarity and definition at their exact time splits (broadband
// and in a band), the echo density of a sparse train and of noise, where a
// whole tail stops and where an impulse response ends.
#include "tools/analysis/DecayAnalysis.h"
#include "tools/analysis/EchoDensity.h"
#include "tools/nadrix-render/ImpulseLength.h"
#include "tools/nadrix-render/WholeTailRule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace nadrix
{
TEST (KnownAnswers, ClarityAndDefinitionSplitAtExactly50And80Milliseconds)
{
    // Arrivals half a millisecond either side of each split, every one with
    // its own energy: a split moved by half a millisecond or more, either
    // way, moves an arrival across it.
    const double rate = 44100.0;
    const int first = 441;
    const double at[] = { 0.0, 0.0495, 0.0505, 0.0795, 0.0805 };
    const double amplitude[] = { 1.0, 0.5, 0.4, 0.3, 0.2 };
    juce::AudioBuffer<float> response (1, (int) rate);
    response.clear();
    for (int k = 0; k < 5; ++k)
        response.setSample (0, first + (int) std::lround (at[k] * rate), (float) amplitude[k]);

    const auto e = [&] (int k) { return (double) (float) amplitude[k] * (double) (float) amplitude[k]; };
    const double total = e (0) + e (1) + e (2) + e (3) + e (4);
    const auto a = DecayAnalysis::of (response, rate);
    ASSERT_TRUE (a.broadband.c80 && a.broadband.d50);
    EXPECT_NEAR (*a.broadband.d50, 100.0 * (e (0) + e (1)) / total, 1e-6);
    EXPECT_NEAR (*a.broadband.c80, 10.0 * std::log10 ((e (0) + e (1) + e (2) + e (3)) / e (4)), 1e-6);

    // In the 1 kHz band: a 1 kHz tone whose energy falls 60 dB a second from
    // the first arrival. Its early and late energies are exponential
    // integrals. The octave filter delays the energy by about 1.3 ms, which
    // moves them by 0.12 dB and 0.9 %; a split moved by 5 ms would move
    // them by 0.6 dB and 3.4 %.
    juce::AudioBuffer<float> tone (1, (int) (2.0 * rate));
    tone.clear();
    const double energyRate = 6.0 * std::log (10.0); // per second, 60 dB/s
    for (int i = 0; i < tone.getNumSamples() - first; ++i)
    {
        const double t = i / rate;
        tone.setSample (0, first + i, (float) (std::exp (-0.5 * energyRate * t) * std::sin (2.0 * M_PI * 1000.0 * t)));
    }
    const auto band = DecayAnalysis::of (tone, rate).bands[3];
    ASSERT_EQ (band.centreHz, 1000.0);
    ASSERT_TRUE (band.c80 && band.d50);
    EXPECT_NEAR (*band.c80, 10.0 * std::log10 (std::exp (energyRate * 0.080) - 1.0), 0.2);
    EXPECT_NEAR (*band.d50, 100.0 * (1.0 - std::exp (-energyRate * 0.050)), 1.2);
}

TEST (KnownAnswers, EchoDensityIsTheShareBeyondOneDeviationOverNoisesShare)
{
    const double rate = 44100.0;
    const int n = (int) rate, window = (int) std::lround (EchoDensity::windowSeconds * rate);

    // One echo in every window: one sample of `window` lies beyond the
    // deviation, against 31.73 % in noise.
    std::vector<double> sparse ((size_t) n, 0.0);
    for (int i = 0; i < n; i += window)
        sparse[(size_t) i] = 1.0;
    const auto few = EchoDensity::profile (sparse, rate, 0.1);
    ASSERT_GE (few.size(), 8u);
    for (size_t k = 1; k + 1 < few.size(); ++k)
        EXPECT_NEAR (few[k], (1.0 / window) / 0.3173, 0.0005) << k;

    std::vector<double> noise ((size_t) n);
    std::mt19937 rng (5);
    std::normal_distribution<double> gauss;
    for (auto& x : noise)
        x = gauss (rng);
    for (const double d : EchoDensity::profile (noise, rate, 0.1))
        EXPECT_NEAR (d, 1.0, 0.06);
}

TEST (KnownAnswers, AWholeTailStopsAfterHalfASecondBelowBothThresholds)
{
    // At 1 kHz, a decay of 60 dB a second from the end of the input (frame
    // 0 of the tail): the level at frame i is 10^(-3 i / 1000).
    const double rate = 1000.0;
    const auto framesUntilEnd = [rate] (float peak, double inputSeconds) {
        WholeTailRule rule ({}, rate);
        std::int64_t frame = 0;
        for (; frame < (std::int64_t) (inputSeconds * rate); ++frame)
            rule.add (frame % 100 == 0 ? peak : 0.0f, false); // a pause in the input is not the end
        for (std::int64_t i = 0; ! rule.ended(); ++i, ++frame)
            rule.add (peak * (float) std::pow (10.0, -3.0 * (double) i / rate), true);
        EXPECT_FALSE (rule.cut());
        return rule.tailFrames();
    };

    // From full scale the floor (-120 dBFS) is the lower threshold: reached
    // at 2.000 s, then 500 quiet frames.
    EXPECT_EQ (framesUntilEnd (1.0f, 1.0), 2000 + 500);
    // From -40 dBFS, 100 dB under the peak is lower: -140 dBFS, reached at
    // 1.667 s (frame 1667), then 500.
    EXPECT_EQ (framesUntilEnd (0.01f, 0.0), 1667 + 500);

    // An output that never falls is cut at the longest tail, and says how
    // far below its peak it ended.
    WholeTailRule::Settings shortCap;
    shortCap.longestSeconds = 3.0;
    WholeTailRule endless (shortCap, rate);
    while (! endless.ended())
        endless.add (endless.tailFrames() == 0 ? 1.0f : 0.001f, true);
    EXPECT_TRUE (endless.cut());
    EXPECT_EQ (endless.tailFrames(), 3000);
    EXPECT_NEAR (endless.endBelowPeakDb(), -60.0, 1e-4);
}

TEST (KnownAnswers, AnImpulseResponseEndsAtItsLastFrameWithin90dBOfItsPeak)
{
    // 0.07 dB a frame from a peak of 0.5 on the right channel: 90 dB under
    // it falls between frames 1285 (-89.95 dB) and 1286 (-90.02 dB); the
    // left channel is 20 dB quieter still.
    juce::AudioBuffer<float> response (2, 4000);
    for (int i = 0; i < 4000; ++i)
    {
        const float right = 0.5f * (float) std::pow (10.0, -0.07 * i / 20.0);
        response.setSample (0, i, 0.1f * right);
        response.setSample (1, i, right);
    }
    EXPECT_EQ (ImpulseLength::framesWithinRange (response), 1286);
    response.clear (1, 0, 4000);
    EXPECT_EQ (ImpulseLength::framesWithinRange (response), 1286); // the left channel's own peak sets its range
    response.clear();
    EXPECT_EQ (ImpulseLength::framesWithinRange (response), 0);
}
} // namespace nadrix
