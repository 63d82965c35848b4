// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThreeBandState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace
{
    constexpr double antiDenormal = 2.3283064370807974e-10;

    // Runs the splitter over x and checks that the three bands add up to the
    // input of three samples before, sample by sample.
    void expectBandsSumToDelayedInput (ThreeBandState& s, const std::vector<double>& x)
    {
        for (size_t i = 0; i < x.size(); ++i)
        {
            double low, mid, high;
            do_3band_sep (&s, &low, &mid, &high, x[i]);
            const double delayed = i >= 3 ? x[i - 3] : 0.0;
            ASSERT_NEAR (low + mid + high, delayed, 1e-12 * (1.0 + std::abs (delayed))) << "sample " << i;
        }
    }

    std::vector<double> noise (size_t n, unsigned seed)
    {
        std::mt19937 rng (seed);
        std::uniform_real_distribution<double> d (-1.0, 1.0);
        std::vector<double> x (n);
        for (auto& v : x)
            v = d (rng);
        return x;
    }
}

TEST (ThreeBandState, CoefficientsFollowTheSineOfTheSplitFrequency)
{
    ThreeBandState s;
    init_3band_state (&s, 20, 9100, 44100);
    EXPECT_NEAR (s.lowCoefficient, 0.0028495162, 1e-10);
    EXPECT_NEAR (s.highCoefficient, 1.2076088, 1e-7);
    EXPECT_EQ (s.lowGain, 1.0);
    EXPECT_EQ (s.midGain, 1.0);
    EXPECT_EQ (s.highGain, 1.0);

    init_3band_state (&s, 0, 0, 44100);
    EXPECT_EQ (s.lowCoefficient, 0.0);
    EXPECT_EQ (s.highCoefficient, 0.0);
}

TEST (ThreeBandState, SilenceSettlesOnTheAntiDenormalOffsetNeverOnZero)
{
    ThreeBandState s;
    init_3band_state (&s, 1000, 5000, 44100);
    double low = 0, mid = 0, high = 0;
    for (int i = 0; i < 20000; ++i)
    {
        do_3band_sep (&s, &low, &mid, &high, 0.0);
        ASSERT_NE (std::fpclassify (low), FP_SUBNORMAL);
        ASSERT_NE (std::fpclassify (high), FP_SUBNORMAL);
    }
    EXPECT_NEAR (low, antiDenormal / s.lowCoefficient, 1e-20);
    EXPECT_NEAR (high, -antiDenormal / s.highCoefficient, 1e-20);
    EXPECT_NE (low, 0.0);
}

TEST (ThreeBandState, BandsSumToTheInputThreeSamplesEarlierInAnyOrderOfSplits)
{
    ThreeBandState s;
    init_3band_state (&s, 329, 3405, 44100);
    expectBandsSumToDelayedInput (s, noise (5000, 1));

    // Low split above the mid split: nothing is reordered, the sum still holds.
    init_3band_state (&s, 6000, 800, 44100);
    expectBandsSumToDelayedInput (s, noise (5000, 2));
}

TEST (ThreeBandState, ZeroFrequencyHoldsTheCascadeAndUpdateKeepsEveryPole)
{
    ThreeBandState s;
    init_3band_state (&s, 0, 3000, 44100);
    double low, mid, high;
    for (double x : noise (500, 3))
    {
        do_3band_sep (&s, &low, &mid, &high, x);
        ASSERT_EQ (low, 0.0); // only the first section moves, by the offset
    }

    const ThreeBandState before = s;
    update_3band_state (&s, 500, 2000, 44100);
    EXPECT_EQ (0, std::memcmp (before.lowPoles, s.lowPoles, sizeof s.lowPoles));
    EXPECT_EQ (0, std::memcmp (before.highPoles, s.highPoles, sizeof s.highPoles));
    EXPECT_EQ (0, std::memcmp (before.history, s.history, sizeof s.history));
    EXPECT_GT (s.lowCoefficient, 0.0);

    // The next sample continues from the held state instead of from rest.
    ThreeBandState fresh;
    init_3band_state (&fresh, 500, 2000, 44100);
    double freshLow, freshMid, freshHigh;
    do_3band_sep (&s, &low, &mid, &high, 0.25);
    do_3band_sep (&fresh, &freshLow, &freshMid, &freshHigh, 0.25);
    EXPECT_NE (high, freshHigh);
}
